#include "app/Activities.h"

#include "application/Registry.h"
#include "search/Registry.h"
#include "startup/Registry.h"

namespace app {

void RegistraAttivita(startup::ModuloVD2005& modulo) {
    startup::RegistraSchermate(modulo);
    application::RegistraSchermate(modulo);
    search::RegistraSchermate(modulo);
}

}  // namespace app
