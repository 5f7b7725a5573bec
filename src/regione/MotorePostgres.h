#pragma once
// The PostgreSQL engine: a server reached through a libpq connection URI. Rows are loaded with
// COPY and read one at a time.
#include <memory>
#include <string>

#include "regione/Motore.h"

namespace regione {

std::unique_ptr<Motore> ApriMotorePostgres(const std::string& uri);

// "?" placeholders outside quoted texts become $1, $2, ...
std::string SegnapostoPostgres(const std::string& sql);

// One value in COPY's text format: \N for null, backslash escapes for the characters that
// would end a field or a row.
void AggiungiCampoCopia(std::string& riga, const store::Value& v);

}  // namespace regione
