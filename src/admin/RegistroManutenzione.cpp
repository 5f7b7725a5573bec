#include "admin/RegistroManutenzione.h"

#include "admin/Estrazione.h"
#include "admin/Manutenzione.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace admin {

void RegistraManutenzione(startup::ModuloVD2005& modulo) {
    ui::Program& program = modulo.program;
    program.registerActivity("PuliziaArchivi", [&modulo] { PuliziaArchivi(modulo); });
    program.registerActivity("CompressioneArchivi", [&modulo] { CompressioneArchivi(modulo); });
    program.registerActivity("SalvataggioArchivi", [&modulo] { SalvataggioArchivi(modulo); });
    program.registerActivity("Estrazione", [&modulo] { Estrazione(modulo); });
}

}  // namespace admin
