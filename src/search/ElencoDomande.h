#pragma once
// The search screen's data source datDomanda: the applications of the saved query
// qryFormRicerca in surname and name order, narrowed by a surname prefix.
//
// The list is read from the archive once, and again whenever another connection has changed the
// archive since (the application form's save, a deletion, any outside tool). Narrowing it is done
// here: the condition is the one of the filter statement, ucase(left(CognomeRich, n)) = filter,
// worked out with the same ucase and left the SQL dialect runs, so a keystroke in the filter costs
// no pass of the engine over every application.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/RowSource.h"
#include "store/Value.h"

namespace search {

class ElencoDomande {
public:
    // Opens its own connection to the archive; nothing is read until requery().
    explicit ElencoDomande(const std::string& archive);
    ElencoDomande(const ElencoDomande&) = delete;
    ElencoDomande& operator=(const ElencoDomande&) = delete;

    // Until a filter is set every application is listed. A filter lists the applications whose
    // surname, upper-cased, begins with it (the filter is upper case); the empty filter lists
    // those that have a surname. The filter stays in force across requery().
    void setFiltro(const std::string& filtro);

    // Re-runs the query: reads the list again if the archive changed, then applies the filter.
    void requery();

    int recordCount() const { return static_cast<int>(righe_.size()); }
    // A field of a listed row (0-based), by its name in qryFormRicerca.
    store::Value field(int row, const std::string& name) const;

private:
    bool ammessa(std::size_t riga) const;

    store::Database db_;
    store::RowSource domande_;                         // every application, in list order
    std::vector<std::optional<std::string>> cognomi_;  // CognomeRich of each, null as none
    std::optional<std::int64_t> versione_;             // the archive's data version when last read
    std::optional<std::string> filtro_;
    std::size_t lunghezzaFiltro_ = 0;  // in characters
    std::vector<int> righe_;           // rows of domande_ listed
};

}  // namespace search
