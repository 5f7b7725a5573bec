#include "startup/Registry.h"

#include "startup/ModuloVD2005.h"
#include "startup/frmAccessoVD.h"
#include "startup/frmConfigVD.h"
#include "startup/frmInizio.h"
#include "ui/Program.h"

namespace startup {

void RegistraSchermate(ModuloVD2005& modulo) {
    ui::Program& program = modulo.program;
    program.registerScreen(
        "frmInizio", [&modulo](ui::Program& p) { return std::make_unique<frmInizio>(p, modulo); });
    program.registerScreen("frmConfigVD", [&modulo](ui::Program& p) {
        return std::make_unique<frmConfigVD>(p, modulo);
    });
    program.registerScreen("frmAccessoVD", [&modulo](ui::Program& p) {
        return std::make_unique<frmAccessoVD>(p, modulo);
    });
}

}  // namespace startup
