#pragma once
// Registers the screens of this folder with the program.
namespace startup {
class ModuloVD2005;
}

namespace admin {

void RegistraSchermate(startup::ModuloVD2005& modulo);

}  // namespace admin
