#pragma once
// A stored application explained: read from the archive, worked out again by the rules from
// its stored inputs, and compared with the results stored beside them. Reads only.
#include <iosfwd>
#include <optional>
#include <string>

#include "rules/Testi.h"
#include "store/DateTime.h"

namespace store {
class Database;
}

namespace application {

// The application with this register number and its household rows; nothing when the archive
// has none.
std::optional<rules::DomandaMemorizzata> LeggiDomandaMemorizzata(store::Database& db,
                                                                 const std::string& numero);

// The call's dates of the workstation, with today's date; nothing when the archive has no
// configuration yet.
std::optional<rules::Bando> BandoArchiviato(store::Database& db, const store::Date& oggi);

// `vendral --explain`: the explanation of the stored application on `out`, returning 0; or an
// Italian message on `err`, returning 1, when the archive or the application cannot be read.
// The archive is opened read-only: nothing is created, locked or changed.
int SpiegaDomanda(const std::string& archivio, const std::string& numero, const store::Date& oggi,
                  std::ostream& out, std::ostream& err);

}  // namespace application
