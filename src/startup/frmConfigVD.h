#pragma once
// First configuration of the workstation: municipality, workstation code, dates of the call
// and the login's user name and password.
#include <memory>

#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Rifiuto.h"
#include "ui/Screen.h"

namespace startup {

class ModuloVD2005;

class frmConfigVD : public ui::Screen {
public:
    frmConfigVD(ui::Program& program, ModuloVD2005& modulo);

    void onLoad() override;
    void onUnload() override;

private:
    void cmbComune_Leave();
    void txtPuntoLavoro_KeyPress(int& key);
    void txtDatEmissione_Leave();
    void txtDatChiusura_Leave();
    void cmdAvvisoPwd_Click();
    void cmdInserimento_Click();
    // The date checks of each field; false after a message, with the focus on the field.
    // memorizzando: the check runs again for the storing.
    bool ControllaEmissione(bool memorizzando);
    bool ControllaChiusura(bool memorizzando);
    void Rifiuta(ui::Control& campo, const std::string& testo, bool memorizzando);
    void avviso(const std::string& text, ui::Control& focus);

    ModuloVD2005& modulo_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datComuni_;
    ui::UltimoRifiuto rifiuto_;  // of the date fields
};

}  // namespace startup
