#include "admin/frmContributoConc.h"

#include "admin/SchermataConfigurazione.h"
#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"
#include "ui/Tasti.h"

namespace admin {

frmContributoConc::frmContributoConc(ui::Program& program, startup::ModuloVD2005& modulo)
    : SchermataConfigurazione(program, "frmContributoConc", "Aggiornamento fabbisogno assegnato",
                              modulo) {
    CampoImporto(add(ui::Kind::TextBox, "txtImpoConcesso"));
    auto& txtPercConcessa = add(ui::Kind::TextBox, "txtPercConcessa");
    // "100,000000" fits; longer numbers would not fit the six-decimal pattern anyway.
    txtPercConcessa.maxLength = 10;
    txtPercConcessa.rightAligned = true;
    auto& cmdAggiorna = add(ui::Kind::Button, "cmdAggiorna");
    cmdAggiorna.setCaption("&Aggiorna");
    auto& cmdUscita = add(ui::Kind::Button, "cmdUscita");
    cmdUscita.setCaption("&Esci");
    auto& Label1 = add(ui::Kind::Label, "Label1");
    Label1.setCaption("Aggiornamento effettuato !");
    Label1.setVisible(false);

    // Only the first test of the key filter: with an empty text no separator is refused.
    txtPercConcessa.onKeyPress = [](int& key) { key = ui::FiltraNumeriVirgole(key, ""); };
    txtPercConcessa.onLeave = [this] { txtPercConcessa_Leave(); };
    cmdAggiorna.onClick = [this] { cmdAggiorna_Click(); };
    cmdUscita.onClick = [this] { this->program().close(*this); };
}

void frmContributoConc::onLoad() {
    SchermataConfigurazione::onLoad();
    control("txtImpoConcesso")
        .setText(rules::Euro(datConfig().field("ImpoContribConc").toDouble()));
    control("txtPercConcessa")
        .setText(rules::Formato(datConfig().field("PercContribConc").toDouble(),
                                rules::kFormatoSeiDecimali));
}

void frmContributoConc::txtPercConcessa_Leave() {
    ui::Control& campo = control("txtPercConcessa");
    if (campo.text().empty()) {
        campo.setText("0");
    } else if (const auto valore = ControllaCampo(campo, false)) {
        campo.setText(rules::Formato(*valore, rules::kFormatoSeiDecimali));
    }
}

void frmContributoConc::cmdAggiorna_Click() {
    const auto letta = NumeroDaMemorizzare(control("txtPercConcessa"), false);
    if (!letta) return;
    const auto importo = NumeroDaMemorizzare(control("txtImpoConcesso"), true);
    if (!importo) return;
    // The percentage as the field shows it, with six decimals.
    const double percentuale = rules::ArrotondaLontanoDaZero(*letta, 6);
    if (percentuale <= 0 || percentuale > 100) {
        message("Inserire una percentuale valida non superiore a 100");
        setFocus(control("txtPercConcessa"));
        return;
    }
    datConfig().edit();
    datConfig().setField("PercContribConc", percentuale);
    datConfig().setField("ImpoContribConc", rules::ArrotondaLontanoDaZero(*importo, 2));
    datConfig().update();

    const std::string archivio = modulo_.paths.archive();
    ports().busy->run("Aggiornamento dei contributi concessi in corso...", [&] {
        store::Database dbArchivio = store::Database::open(archivio);
        dbArchivio.execute("Update Domanda set ContribConcesso=Round(ContribRichiesto * ? /100,2)",
                           {percentuale});
    });
    control("Label1").setVisible(true);
}

}  // namespace admin
