#include "app/Activities.h"

#include "startup/Registry.h"

namespace app {

void RegistraAttivita(startup::ModuloVD2005& modulo) { startup::RegistraSchermate(modulo); }

}  // namespace app
