#pragma once
// Records the municipality's total co-financing of the call.
#include "admin/SchermataConfigurazione.h"

namespace admin {

class frmCoFinanz : public SchermataConfigurazione {
public:
    frmCoFinanz(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;

private:
    void cmdAggiorna_Click();
};

}  // namespace admin
