#include "application/Registry.h"

#include "application/frmBaseVD.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace application {

void RegistraSchermate(startup::ModuloVD2005& modulo) {
    // The screen is made anew for each opening, with what it opens.
    modulo.ApriDomanda = [&modulo](const std::optional<std::string>& numero) {
        modulo.program.registerScreen("frmBaseVD", [&modulo, numero](ui::Program& p) {
            return std::make_unique<frmBaseVD>(p, modulo, numero);
        });
        modulo.program.show("frmBaseVD", true);
    };
}

}  // namespace application
