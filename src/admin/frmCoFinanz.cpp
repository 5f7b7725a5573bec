#include "admin/frmCoFinanz.h"

#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace admin {

frmCoFinanz::frmCoFinanz(ui::Program& program, startup::ModuloVD2005& modulo)
    : SchermataConfigurazione(program, "frmCoFinanz", "Registrazione co-finanziamento", modulo) {
    CampoImporto(add(ui::Kind::TextBox, "txtImpoCoFinanz"));
    auto& cmdAggiorna = add(ui::Kind::Button, "cmdAggiorna");
    cmdAggiorna.setCaption("&Registra");
    auto& cmdUscita = add(ui::Kind::Button, "cmdUscita");
    cmdUscita.setCaption("&Esci");
    auto& Label1 = add(ui::Kind::Label, "Label1");
    Label1.setCaption("Aggiornamento effettuato !");
    Label1.setVisible(false);

    cmdAggiorna.onClick = [this] { cmdAggiorna_Click(); };
    cmdUscita.onClick = [this] { this->program().close(*this); };
}

void frmCoFinanz::onLoad() {
    SchermataConfigurazione::onLoad();
    control("txtImpoCoFinanz").setText(rules::Euro(datConfig().field("ImpoCoFinanz").toDouble()));
}

void frmCoFinanz::cmdAggiorna_Click() {
    const auto importo = NumeroDaMemorizzare(control("txtImpoCoFinanz"), true);
    if (!importo) return;
    datConfig().edit();
    datConfig().setField("ImpoCoFinanz", rules::ArrotondaLontanoDaZero(*importo, 2));
    datConfig().update();
    control("Label1").setVisible(true);
}

}  // namespace admin
