#pragma once
// Registers the screens of this folder with the program: the application screen opens through
// ModuloVD2005::ApriDomanda.
namespace startup {
class ModuloVD2005;
}

namespace application {

void RegistraSchermate(startup::ModuloVD2005& modulo);

}  // namespace application
