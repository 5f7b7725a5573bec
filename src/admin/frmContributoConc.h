#pragma once
// Records the need granted by the Region and its percentage, and sets every application's
// granted contribution to that share of its requested contribution.
#include "admin/SchermataConfigurazione.h"

namespace admin {

class frmContributoConc : public SchermataConfigurazione {
public:
    frmContributoConc(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;

private:
    void txtPercConcessa_Leave();
    void cmdAggiorna_Click();
};

}  // namespace admin
