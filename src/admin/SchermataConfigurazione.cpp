#include "admin/SchermataConfigurazione.h"

#include <algorithm>

#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"

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

}  // namespace admin
