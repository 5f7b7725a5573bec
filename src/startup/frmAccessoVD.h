#pragma once
// The login: one attempt per start with the workstation's user name and password.
#include <memory>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {

class ModuloVD2005;

class frmAccessoVD : public ui::Screen {
public:
    frmAccessoVD(ui::Program& program, ModuloVD2005& modulo);

    void onLoad() override;
    void onUnload() override;

private:
    void cmdOK_Click();

    ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
};

}  // namespace startup
