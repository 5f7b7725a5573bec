#pragma once
// Moves the closing date of the call later, never earlier, and never out of the year of the call.
#include "admin/SchermataConfigurazione.h"

namespace admin {

class frmDataChiusura : public SchermataConfigurazione {
public:
    frmDataChiusura(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;

private:
    void txtDatPresentDom_Leave();
    void cmdMemorizza_Click();
    // A refusal of the new date: the message, and the focus back into the field.
    void avviso(const std::string& text);
};

}  // namespace admin
