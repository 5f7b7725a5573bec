#pragma once
// Records the need granted by the Region and its percentage, and sets every application's
// granted contribution to that share of its requested contribution.
#include <memory>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}

namespace admin {

class frmContributoConc : public ui::Screen {
public:
    frmContributoConc(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;
    void onActivate() override;
    void onUnload() override;

private:
    void txtPercConcessa_Leave();
    void cmdAggiorna_Click();

    startup::ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datConfig_;
};

}  // namespace admin
