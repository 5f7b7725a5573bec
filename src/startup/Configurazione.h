#pragma once
// The workstation's single configuration row and the login password's hash.
#include <string>

#include "store/DateTime.h"

namespace store {
class Database;
}

namespace startup {

struct ConfigurazioneRow {
    std::string codComune;
    std::string puntoLavoro;
    store::Date dataEmisBando;
    store::Date dataChiusBando;
    std::string utente;
    std::string password;  // clear text; stored as its Argon2id hash
};

// Appends the configuration row (Progressivo_domande 0, amounts left to their default 0).
void ScriviConfigurazione(store::Database& db, const ConfigurazioneRow& row);

// Argon2id hash of a login password, and its exact check (case and blanks count).
std::string HashPassword(const std::string& password);
bool VerificaPassword(const std::string& storedHash, const std::string& typed);

}  // namespace startup
