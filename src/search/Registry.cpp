#include "search/Registry.h"

#include "search/frmRicercaVD.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace search {

void RegistraSchermate(startup::ModuloVD2005& modulo) {
    modulo.program.registerScreen("frmRicercaVD", [&modulo](ui::Program& p) {
        return std::make_unique<frmRicercaVD>(p, modulo);
    });
}

}  // namespace search
