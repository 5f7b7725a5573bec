#pragma once
// The extraction for the Region: a compacted copy of the archive written onto removable media
// under a name that carries the municipality code.
#include <string>

namespace startup {
class ModuloVD2005;
}

namespace admin {

// "Vendral2005_" + municipality code + ".mdb".
std::string NomeEstrazione(const std::string& codComune);

// The menu command. A destination that is not ready (missing, not writable), a full one or a
// failed copy asks OK (try again) or Cancel (give up); the menu's connections are reopened
// either way.
void Estrazione(startup::ModuloVD2005& modulo);

}  // namespace admin
