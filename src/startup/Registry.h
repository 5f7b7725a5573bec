#pragma once
// Registers the screens of this folder with the program.
namespace startup {

class ModuloVD2005;

void RegistraSchermate(ModuloVD2005& modulo);

}  // namespace startup
