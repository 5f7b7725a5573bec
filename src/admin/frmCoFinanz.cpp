#include "admin/frmCoFinanz.h"

#include <algorithm>

#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace admin {

std::optional<double> NormalizzaCampo(ui::Screen& screen, ui::Control& campo) {
    std::string testo = campo.text();
    std::replace(testo.begin(), testo.end(), '.', ',');
    campo.setText(testo);
    const auto valore = rules::LeggiNumero(testo);
    if (!valore) {
        screen.message("Valore non valido");
        screen.setFocus(campo);
    }
    return valore;
}

void CampoImporto(ui::Screen& screen, ui::Control& campo) {
    // Long enough for any amount, short enough for the display patterns.
    campo.maxLength = 15;
    campo.rightAligned = true;
    // Only the first test of the key filter: with an empty text no separator is refused.
    campo.onKeyPress = [](int& key) { key = rules::FiltraNumeriVirgole(key, ""); };
    campo.onEnter = [&campo] { campo.setText(rules::FormatoTesto(campo.text(), "#0.00")); };
    campo.onLeave = [&screen, &campo] {
        if (campo.text().empty()) campo.setText("0,00");
        if (const auto valore = NormalizzaCampo(screen, campo)) {
            campo.setText(rules::Formato(*valore, "#,##0.00"));
        }
    };
}

std::optional<double> ImportoCampo(const ui::Control& campo) {
    const auto valore = rules::LeggiNumero(campo.text());
    if (!valore) return std::nullopt;
    return rules::ArrotondaLontanoDaZero(*valore, 2);
}

frmCoFinanz::frmCoFinanz(ui::Program& program, startup::ModuloVD2005& modulo)
    : ui::Screen(program, "frmCoFinanz", "Registrazione co-finanziamento"), modulo_(modulo) {
    CampoImporto(*this, add(ui::Kind::TextBox, "txtImpoCoFinanz"));
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
    db_ = store::Database::open(modulo_.paths.archive());
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
}

void frmCoFinanz::onActivate() {
    datConfig_->requery();
    datConfig_->moveFirst();
    control("txtImpoCoFinanz")
        .setText(rules::Formato(datConfig_->field("ImpoCoFinanz").toDouble(), "#,##0.00"));
}

void frmCoFinanz::onUnload() {
    datConfig_.reset();
    db_.close();
}

void frmCoFinanz::cmdAggiorna_Click() {
    const auto importo = ImportoCampo(control("txtImpoCoFinanz"));
    if (!importo) return;
    datConfig_->edit();
    datConfig_->setField("ImpoCoFinanz", *importo);
    datConfig_->update();
    control("Label1").setVisible(true);
}

}  // namespace admin
