#include "admin/SchermataConfigurazione.h"

#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "ui/Tasti.h"

namespace admin {

SchermataConfigurazione::SchermataConfigurazione(ui::Program& program, std::string name,
                                                 std::string title, startup::ModuloVD2005& modulo)
    : ui::Screen(program, std::move(name), std::move(title)), modulo_(modulo) {}

void SchermataConfigurazione::onLoad() {
    db_ = store::Database::open(modulo_.paths.archive());
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
    rileggi();
}

void SchermataConfigurazione::rileggi() {
    datConfig_->requery();
    datConfig_->moveFirst();
}

void SchermataConfigurazione::onUnload() {
    datConfig_.reset();
    db_.close();
}

namespace {

std::optional<double> Leggi(const ui::Control& campo, bool importo) {
    const std::string& testo = campo.text();
    if (testo.find_first_not_of(' ') == std::string::npos) return 0.0;
    return importo ? rules::LeggiImporto(testo, campo.maxLength)
                   : rules::LeggiNumeroInserito(testo);
}

}  // namespace

void SchermataConfigurazione::Rifiuta(ui::Control& campo, bool memorizzando) {
    if (rifiuto_.daDire(campo, memorizzando)) message("Valore non valido");
    setFocus(campo);
}

std::optional<double> SchermataConfigurazione::ControllaCampo(ui::Control& campo, bool importo) {
    const auto valore = Leggi(campo, importo);
    if (!valore) Rifiuta(campo, false);
    return valore;
}

std::optional<double> SchermataConfigurazione::NumeroDaMemorizzare(ui::Control& campo,
                                                                   bool importo) {
    const auto valore = Leggi(campo, importo);
    if (!valore) Rifiuta(campo, true);
    return valore;
}

void SchermataConfigurazione::CampoImporto(ui::Control& campo) {
    // Amounts up to 999.999.999,99: the largest whose shown form fits.
    campo.maxLength = 15;
    campo.rightAligned = true;
    // Only the first test of the key filter: with an empty text no separator is refused.
    campo.onKeyPress = [](int& key) { key = ui::FiltraNumeriVirgole(key, ""); };
    campo.onEnter = [&campo] {
        if (const auto valore = rules::LeggiNumeroInserito(campo.text())) {
            campo.setText(rules::Formato(*valore, rules::kFormatoDueDecimali));
        }
    };
    campo.onLeave = [this, &campo] {
        if (campo.text().empty()) campo.setText("0,00");
        if (const auto valore = ControllaCampo(campo, true)) {
            campo.setText(rules::Euro(*valore));
        }
    };
}

}  // namespace admin
