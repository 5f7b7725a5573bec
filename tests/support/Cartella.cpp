#include "support/Cartella.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace supporto {

CartellaTemporanea::CartellaTemporanea(const std::string& prefisso) {
    std::string modello = (std::filesystem::temp_directory_path() / (prefisso + "XXXXXX")).string();
    if (mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp: " + modello);
    percorso_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
    std::error_code ec;
    std::filesystem::remove_all(percorso_, ec);
}

}  // namespace supporto
