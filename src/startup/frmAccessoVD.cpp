#include "startup/frmAccessoVD.h"

#include "startup/Configurazione.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace startup {

frmAccessoVD::frmAccessoVD(ui::Program& program, ModuloVD2005& modulo)
    : ui::Screen(program, "frmAccessoVD", "Vendral 2005 - Abilitazione Accesso"), modulo_(modulo) {
    add(ui::Kind::TextBox, "txtUtente").maxLength = 15;
    auto& txtPassword = add(ui::Kind::TextBox, "txtPassword");
    txtPassword.maxLength = 15;
    txtPassword.passwordChar = "*";
    auto& cmdOK = add(ui::Kind::Button, "cmdOK");
    cmdOK.setCaption("OK");
    auto& cmdCancel = add(ui::Kind::Button, "cmdCancel");
    cmdCancel.setCaption("Annulla");
    defaultButton = &cmdOK;
    cancelButton = &cmdCancel;
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { this->program().end(); };
}

void frmAccessoVD::onLoad() {
    db_ = store::Database::open(modulo_.paths.archive());
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
    datConfig_->requery();
    datConfig_->moveFirst();
}

void frmAccessoVD::onUnload() {
    datConfig_.reset();
    db_.close();
}

void frmAccessoVD::cmdOK_Click() {
    bool valido = false;
    if (datConfig_->recordCount() > 0) {
        const store::Value utente = datConfig_->field("Utente");
        const store::Value password = datConfig_->field("Password");
        valido = !utente.isNull() && !password.isNull() &&
                 utente.toText() == control("txtUtente").text() &&
                 VerificaPassword(password.toText(), control("txtPassword").text());
    }
    if (valido) {
        program().show("frmInizio");
        program().close(*this);
        return;
    }
    message("Utente o Password non validi. Riprovare.", ui::Buttons::OK, ui::Icon::None, "Accesso");
    program().end();
}

}  // namespace startup
