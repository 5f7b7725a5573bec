#pragma once
// Every screen and activity of the program, registered with the running program. Shared by
// the desktop program and the scenario runner so both run the same screens.
namespace startup {
class ModuloVD2005;
}

namespace app {

void RegistraAttivita(startup::ModuloVD2005& modulo);

}  // namespace app
