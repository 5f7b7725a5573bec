#include "admin/frmDataChiusura.h"

#include "rules/Date.h"
#include "rules/Parametri.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace admin {

frmDataChiusura::frmDataChiusura(ui::Program& program, startup::ModuloVD2005& modulo)
    : SchermataConfigurazione(program, "frmDataChiusura",
                              "Modifica della Data di Chiusura del Bando", modulo) {
    auto& txtDatPresentDom = add(ui::Kind::DateBox, "txtDatPresentDom");
    auto& cmdMemorizza = add(ui::Kind::Button, "cmdMemorizza");
    cmdMemorizza.setCaption("&Memorizza");
    auto& cmdAnnulla = add(ui::Kind::Button, "cmdAnnulla");
    cmdAnnulla.setCaption("&Annulla");

    txtDatPresentDom.onLeave = [this] { txtDatPresentDom_Leave(); };
    cmdMemorizza.onClick = [this] { cmdMemorizza_Click(); };
    // Only Memorizza writes the row: whatever was typed goes with the screen.
    cmdAnnulla.onClick = [this] { this->program().close(*this); };
}

void frmDataChiusura::onLoad() {
    SchermataConfigurazione::onLoad();
    control("txtDatPresentDom")
        .setText(rules::FormattaDataMemorizzata(datConfig().field("Data_chius_bando").toText()));
}

void frmDataChiusura::txtDatPresentDom_Leave() {
    ui::Control& campo = control("txtDatPresentDom");
    if (campo.text().empty()) return;
    const auto data = rules::LeggiData(campo.text());
    if (!data) {
        message("Data non valida ! \r\nImpostarla nuovamente nel formato gg/mm/aaaa.");
        setFocus(campo);
        return;
    }
    campo.setText(rules::FormattaData(*data));
}

void frmDataChiusura::avviso(const std::string& text) {
    message(text);
    setFocus(control("txtDatPresentDom"));
}

void frmDataChiusura::cmdMemorizza_Click() {
    const std::string& testo = control("txtDatPresentDom").text();
    // The rest of the program needs a closing date: it is never stored empty.
    if (testo.empty()) return avviso("Valorizzare la data di chiusura bando");
    const auto data = rules::LeggiData(testo);
    // A text that is not a date has just been refused on leaving the field.
    if (!data) return;
    // The stored dates: the row is not saved yet, so the closing date is still the current one.
    const auto memorizzata = [this](const char* field) {
        return store::parseStoredDateTime(datConfig().field(field).toText());
    };
    const auto emissione = memorizzata("Data_emis_bando");
    const auto attuale = memorizzata("Data_chius_bando");
    if (data->year != static_cast<int>(rules::ValoreParametro(rules::Parametro::AnnoBando))) {
        return avviso("L'anno della data di chiusura deve essere il " +
                      rules::TestoParametro(rules::Parametro::AnnoBando) + " ! ");
    }
    if (emissione && *data <= emissione->date) {
        return avviso("La data di chiusura deve essere superiore a quella di emissione ! ");
    }
    if (attuale && *data <= attuale->date) {
        return avviso("La nuova data di chiusura deve essere superiore a quella attuale ! ");
    }
    datConfig().edit();
    datConfig().setField("Data_chius_bando", data->iso());
    datConfig().update();
    program().close(*this);
}

}  // namespace admin
