#include "application/Registry.h"

#include "application/frmBaseVD.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace application {

void RegistraSchermate(startup::ModuloVD2005& modulo) {
    modulo.program.registerScreen(
        "frmBaseVD", [&modulo](ui::Program& p) { return std::make_unique<frmBaseVD>(p, modulo); });
}

}  // namespace application
