#include "admin/RegistroSchermate.h"

#include "admin/frmCoFinanz.h"
#include "admin/frmContributoConc.h"
#include "admin/frmDataChiusura.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace admin {

void RegistraSchermate(startup::ModuloVD2005& modulo) {
    ui::Program& program = modulo.program;
    program.registerScreen("frmDataChiusura", [&modulo](ui::Program& p) {
        return std::make_unique<frmDataChiusura>(p, modulo);
    });
    program.registerScreen("frmCoFinanz", [&modulo](ui::Program& p) {
        return std::make_unique<frmCoFinanz>(p, modulo);
    });
    program.registerScreen("frmContributoConc", [&modulo](ui::Program& p) {
        return std::make_unique<frmContributoConc>(p, modulo);
    });
}

}  // namespace admin
