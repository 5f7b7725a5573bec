#pragma once
// Registers the print selection screen and the statistics report with the program.
namespace startup {
class ModuloVD2005;
}

namespace reports {

void RegistraSchermate(startup::ModuloVD2005& modulo);

}  // namespace reports
