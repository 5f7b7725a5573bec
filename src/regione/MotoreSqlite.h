#pragma once
// The embedded engine: one SQLCipher file, encrypted with the program's password like the
// municipalities' archives.
#include <memory>
#include <string>

#include "regione/Motore.h"

namespace regione {

std::unique_ptr<Motore> ApriMotoreSqlite(const std::string& percorso, bool crea);

}  // namespace regione
