#pragma once
// Registers the maintenance commands and the extraction with the program.
namespace startup {
class ModuloVD2005;
}

namespace admin {

void RegistraManutenzione(startup::ModuloVD2005& modulo);

}  // namespace admin
