#include "startup/Configurazione.h"

#include <sodium.h>

#include <stdexcept>

#include "store/RowSource.h"

namespace startup {

void ScriviConfigurazione(store::Database& db, const ConfigurazioneRow& row) {
    store::RowSource datConfig(db, "Configurazione");
    datConfig.requery();
    datConfig.addNew();
    datConfig.setField("CodComune", row.codComune);
    datConfig.setField("Punto_lavoro", row.puntoLavoro);
    datConfig.setField("Data_emis_bando", row.dataEmisBando.iso());
    datConfig.setField("Data_chius_bando", row.dataChiusBando.iso());
    datConfig.setField("Progressivo_domande", 0);
    datConfig.setField("Utente", row.utente);
    datConfig.setField("Password", HashPassword(row.password));
    datConfig.update();
}

namespace {
void initSodium() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium non disponibile");
}
}  // namespace

std::string HashPassword(const std::string& password) {
    initSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw std::runtime_error("memoria insufficiente per cifrare la password");
    }
    return hash;
}

bool VerificaPassword(const std::string& storedHash, const std::string& typed) {
    if (storedHash.empty()) return false;
    initSodium();
    return crypto_pwhash_str_verify(storedHash.c_str(), typed.data(), typed.size()) == 0;
}

}  // namespace startup
