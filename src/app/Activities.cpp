#include "app/Activities.h"

#include "admin/RegistroManutenzione.h"
#include "admin/RegistroSchermate.h"
#include "application/Registry.h"
#include "reports/RegistroStampe.h"
#include "search/Registry.h"
#include "startup/Registry.h"

namespace app {

void RegistraAttivita(startup::ModuloVD2005& modulo) {
    startup::RegistraSchermate(modulo);
    application::RegistraSchermate(modulo);
    search::RegistraSchermate(modulo);
    reports::RegistraSchermate(modulo);
    admin::RegistraSchermate(modulo);
    admin::RegistraManutenzione(modulo);
}

}  // namespace app
