// The application screen's side of the rules of the call: its fields go into the engine, the
// results come back into its fields; the checks made on leaving a field show their messages
// and move the focus here, in the order the screen has always shown them.
#include <iterator>

#include "application/frmBaseVD.h"
#include "rules/Calcoli.h"
#include "rules/Numeri.h"
#include "rules/Parametri.h"
#include "store/Text.h"

namespace application {

namespace {

const char* const kDataNonValida =
    "Data non valida ! \r\nImpostarla nuovamente nel formato gg/mm/aaaa.";

// The controls of the three options and of the exclusions, in the engine's order.
struct ControlliOpzione {
    const char* box;
    const char* percentuale;
};
const ControlliOpzione kOpzioni[] = {
    {"chkIncremLimiteFascia", "txtIncremPercFasciaA"},
    {"chkIncremLimiteRed", "txtIncremPercLimiteRed"},
    {"chkIncremContrib", "txtIncremPercContrib"},
};
const char* const kEsclusioni[] = {
    "chkEsclusaCateg", "chkEsclusaReddi",   "chkEsclusaIncid",       "chkEsclusaContr",
    "chkEsclusaObbl",  "chkEsclusaTermine", "chkEsclusaIstruttoria",
};
const char* const kDebolezze[] = {"chkDebolUltra65", "chkDebolInvalidi", "chkDebolSfratto",
                                  "chkDebolAltre"};

bool Spuntato(const ui::Control& c) {
    return c.value() == 1;
}

}  // namespace

// --- Into the engine and back --------------------------------------------------------------

rules::Bando frmBaseVD::bando() const {
    return {DataEmisBando, DataChiusBando, ports().clock->now().date};
}

rules::TestiDomanda frmBaseVD::testiDomanda() const {
    const auto testo = [this](const char* nome, int i = -1) { return control(nome, i).text(); };
    const auto codice = [this](const char* nome, int i = -1) {
        return control(nome, i).boundValue();
    };
    const auto spunta = [this](const char* nome) { return Spuntato(control(nome)); };
    rules::TestiDomanda t;
    t.cognome = testo("txtCognomeRich");
    t.nome = testo("txtNomeRich");
    t.codiceFiscale = testo("txtCodFiscRich");
    t.comune = codice("cmbComuneRich");
    t.indirizzo = testo("txtIndiRich");
    t.presentazione = testo("txtDatPresentDom");
    for (int i = 0; i < rules::kRigheNucleo; ++i) {
        t.nucleo[static_cast<std::size_t>(i)] = {
            testo("txtNucleoNome", i), codice("cmbNucleoParent", i), testo("txtNucleoDatNasc", i),
            codice("cmbNucleoProfes", i), testo("txtNucleoRedditoEur", i)};
    }
    t.canone = testo("txtCanoneTotaleEur");
    t.canoneComune = testo("txtCanoneTabComuneEur");
    t.categoria = testo("txtCategCatasto");
    for (int i = 0; i < 2; ++i) {
        t.contratti[static_cast<std::size_t>(i)] = {testo("txtContrattoNum", i),
                                                    testo("txtContrattoDataReg", i),
                                                    testo("txtContrattoDataIni", i)};
    }
    t.nonRegistrato = spunta("chkFlagNonRegistr");
    for (std::size_t i = 0; i < t.debolezze.size(); ++i) t.debolezze[i] = spunta(kDebolezze[i]);
    for (std::size_t i = 0; i < t.opzioni.size(); ++i) {
        const ui::Control& box = control(kOpzioni[i].box);
        const ui::Control& perc = control(kOpzioni[i].percentuale);
        t.opzioni[i] = {Spuntato(box), box.enabled(), perc.enabled(), perc.text()};
    }
    t.altriContributi = testo("txtAltriContrib");
    t.contributoConcesso = testo("txtContribConcesso");
    t.coFinanziamento = testo("txtCoFinanzComune");

    t.redditoComplessivo = testo("txtRedditoLordoEur");
    t.componenti = testo("txtNumComponNucleo");
    t.figli = testo("txtNumFigliCarico");
    t.redditoAccesso = testo("txtRedditoAccessoEur");
    t.fascia = testo("txtFascia");
    t.incidenza = testo("txtIncidenzaCanRed");
    t.debolezzaSociale = spunta("chkDebolezzaSoc");
    for (std::size_t i = 0; i < t.esclusioni.size(); ++i) t.esclusioni[i] = spunta(kEsclusioni[i]);
    t.ammessa = spunta("chkDomandaOK");
    t.nonAmmessa = spunta("chkDomandaNo");
    t.mancaContratto = MancaContratto;
    t.contributoBase = testo("txtContribBase");
    t.incremento = testo("txtIncremImpoContrib");
    t.totale = testo("txtTotContrib");
    t.richiesto = testo("txtContribRichiesto");
    t.daErogare = testo("txtContribDaErogare");
    t.incrementoRidotto = control("lblIncremRidotto").visible();
    return t;
}

void frmBaseVD::Regole(rules::Avvio avvio) {
    mostraEsito(rules::Calcola(rules::LeggiTesti(testiDomanda()), bando(), avvio));
}

void frmBaseVD::mostraEsito(const rules::Esito& e) {
    const rules::Domanda& d = e.domanda;
    const rules::Scritti& w = e.scritti;
    const auto scrivi = [this](const char* nome, const std::string& testo) {
        control(nome).setText(testo);
    };
    const auto spunta = [this](const char* nome, bool on) { control(nome).setValue(on ? 1 : 0); };
    // The engine has already run the reactions of the options it changed.
    BloccaEventi = true;
    if (w.reddito) {
        scrivi("txtSommaRedditiNucleoEur", rules::Euro(d.redditoComplessivo));
        scrivi("txtRedditoLordoEur", rules::Euro(d.redditoComplessivo));
    }
    if (w.incidenza) {
        scrivi("txtNumComponNucleo", std::to_string(d.componenti));
        scrivi("txtNumFigliCarico", std::to_string(d.figli));
        scrivi("txtRedditoAccessoEur", rules::Euro(d.redditoAccesso));
        scrivi("txtFascia", d.fascia);
        scrivi("txtIncidenzaCanRed",
               d.incidenza ? rules::Formato(*d.incidenza, rules::kFormatoIncidenza) : "");
    }
    spunta("chkDebolezzaSoc", d.debolezzaSociale);
    for (std::size_t i = 0; i < d.opzioni.size(); ++i) {
        const rules::StatoOpzione& o = d.opzioni[i];
        ui::Control& box = control(kOpzioni[i].box);
        ui::Control& perc = control(kOpzioni[i].percentuale);
        box.setValue(o.spuntata ? 1 : 0);
        box.setEnabled(o.disponibile);
        perc.setEnabled(o.campoAttivo);
        if (w.percentuali[i]) {
            perc.setText(o.percentualeZero
                             ? "0"
                             : rules::Formato(o.percentuale, rules::kFormatoFinoADueDecimali));
        }
    }
    for (std::size_t i = 0; i < d.esclusioni.size(); ++i) spunta(kEsclusioni[i], d.esclusioni[i]);
    spunta("chkDomandaNo", d.nonAmmessa);
    spunta("chkDomandaOK", d.ammessa);
    MancaContratto = d.mancaContratto;
    if (w.contributo) {
        scrivi("txtContribBase", rules::TestoImporto(d.contributoBase));
        scrivi("txtIncremImpoContrib", rules::TestoImporto(d.incremento));
        scrivi("txtTotContrib", rules::TestoImporto(d.totale));
        scrivi("txtContribConcesso", rules::TestoImporto(d.contributoConcesso));
        scrivi("txtCoFinanzComune", rules::TestoImporto(d.coFinanziamento));
        scrivi("txtContribDaErogare", rules::TestoImporto(d.daErogare));
        scrivi("txtAltriContrib", rules::TestoImporto(d.altriContributi));
        scrivi("txtContribRichiesto", rules::TestoImporto(d.richiesto));
        control("lblIncremRidotto").setVisible(d.incrementoRidotto);
    }
    BloccaEventi = false;
}

// --- Numeric entry -------------------------------------------------------------------------

std::optional<double> frmBaseVD::leggi(const ui::Control& campo, Genere genere) const {
    const std::string& testo = campo.text();
    if (rules::SenzaSpazi(testo).empty()) return 0.0;
    switch (genere) {
        case Genere::Importo:
            return rules::LeggiImporto(testo, campo.maxLength);
        case Genere::Decimale:
            return rules::LeggiNumeroInserito(testo);
        case Genere::Intero:
            if (const auto n = rules::LeggiInteroInserito(testo)) return static_cast<double>(*n);
            break;
    }
    return std::nullopt;
}

void frmBaseVD::mostraCampo(ui::Control& campo) {
    if (campo.page >= 0) control("SSTab1").setCurrentPage(campo.page);
    setFocus(campo);
}

void frmBaseVD::rifiuta(ui::Control& campo, bool registrando) {
    if (rifiuto_.daDire(campo, registrando)) message("Valore non valido");
    mostraCampo(campo);
}

std::optional<double> frmBaseVD::accetta(ui::Control& campo, Genere genere) {
    const auto valore = leggi(campo, genere);
    if (!valore) rifiuta(campo, false);
    return valore;
}

bool frmBaseVD::formattaImporto(ui::Control& campo) {
    const auto valore = accetta(campo, Genere::Importo);
    if (valore) campo.setText(rules::Euro(*valore));
    return valore.has_value();
}

std::optional<double> frmBaseVD::formattaPercentuale(ui::Control& campo) {
    if (rules::SenzaSpazi(campo.text()).empty()) {
        campo.setText("0");
        return 0.0;
    }
    const auto valore = accetta(campo, Genere::Decimale);
    if (!valore) return std::nullopt;
    campo.setText(rules::Formato(rules::SingolaPrecisione(*valore), rules::kFormatoDueDecimali));
    return rules::SingolaPrecisione(rules::Valore(campo.text()));
}

bool frmBaseVD::conferma(const std::string& testo) {
    return message(testo + "\r\nSi conferma il dato?", ui::Buttons::YesNo, ui::Icon::None,
                   "Attenzione", ui::Answer::Yes) == ui::Answer::Yes;
}

void frmBaseVD::EntrataImporto(ui::Control& campo) {
    // A refused text stays as the operator left it.
    if (const auto valore = rules::LeggiNumeroInserito(campo.text())) {
        campo.setText(rules::Formato(*valore, rules::kFormatoInModifica));
    }
}

void frmBaseVD::UscitaCanone() {
    ui::Control& canone = control("txtCanoneTotaleEur");
    const auto valore = accetta(canone, Genere::Importo);
    if (!valore) return;
    if (rules::CanoneDaConfermare(*valore) &&
        !conferma("Il canone indicato supera " +
                  rules::Formato(rules::ValoreParametro(rules::Parametro::CanonePlausibile),
                                 rules::kFormatoIntero) +
                  " Euro.")) {
        setFocus(canone);
    }
    canone.setText(rules::Euro(*valore));
    control("txtCanoneTabComuneEur").setText(canone.text());
    SommaReddito();
}

void frmBaseVD::UscitaRedditoComponente(int riga) {
    ui::Control& reddito = control("txtNucleoRedditoEur", riga);
    if (!formattaImporto(reddito)) return;
    if (reddito.text() == "0,00" && control("txtNucleoNome", riga).text().empty()) {
        reddito.setText("");
    }
    SommaReddito();
}

void frmBaseVD::UscitaImportoComune(ui::Control& campo) {
    if (formattaImporto(campo)) CalcolaContributo();
}

void frmBaseVD::UscitaPercentuale(ui::Control& campo) {
    const auto valore = formattaPercentuale(campo);
    if (!valore) return;
    if (!rules::PercentualeAmmessa(*valore)) {
        message("Il valore deve essere compreso tra 0 e " +
                rules::TestoParametro(rules::Parametro::IncrementoMassimo));
        setFocus(campo);
        return;
    }
    if (campo.name() == "txtIncremPercFasciaA") {
        CalcolaIncidenza();
    } else {
        VerificaDomandaAmmessa();
    }
}

void frmBaseVD::UscitaSuperficie() {
    ui::Control& superficie = control("txtSuperfAlloggio");
    const auto valore = formattaPercentuale(superficie);
    if (!valore) return;
    switch (rules::VerificaSuperficie(*valore)) {
        case rules::EsitoSuperficie::Eccessiva:
            message("Il valore deve essere inferiore a " +
                    rules::Formato(rules::kSuperficieMassima, rules::kFormatoIntero));
            setFocus(superficie);
            break;
        case rules::EsitoSuperficie::DaConfermare:
            if (!conferma("La superficie indicata supera " +
                          rules::Formato(rules::kSuperficieDaConfermare, rules::kFormatoIntero) +
                          " mq.")) {
                setFocus(superficie);
            }
            break;
        case rules::EsitoSuperficie::Accettata:
            break;
    }
}

void frmBaseVD::UscitaAltreStanze() {
    ui::Control& stanze = control("txtNumAltreStanze");
    if (accetta(stanze, Genere::Intero)) {
        const std::string cifre = rules::SenzaSpazi(stanze.text());
        stanze.setText(cifre.empty() ? "0" : cifre);
    }
}

bool frmBaseVD::NumeriRegistrabili() {
    for (int i = 0; i < rules::kRigheNucleo; ++i) {
        ui::Control& reddito = control("txtNucleoRedditoEur", i);
        if (!leggi(reddito, Genere::Importo)) {
            rifiuta(reddito, true);
            return false;
        }
    }
    struct Numerico {
        const char* nome;
        Genere genere;
    };
    static const Numerico numerici[] = {
        {"txtCanoneTotaleEur", Genere::Importo},      {"txtSuperfAlloggio", Genere::Decimale},
        {"txtNumAltreStanze", Genere::Intero},        {"txtIncremPercFasciaA", Genere::Decimale},
        {"txtIncremPercLimiteRed", Genere::Decimale}, {"txtIncremPercContrib", Genere::Decimale},
        {"txtAltriContrib", Genere::Importo},         {"txtContribConcesso", Genere::Importo},
        {"txtCoFinanzComune", Genere::Importo},
    };
    for (const Numerico& n : numerici) {
        ui::Control& campo = control(n.nome);
        if (!leggi(campo, n.genere)) {
            rifiuta(campo, true);
            return false;
        }
    }
    // The members' incomes are sound now; the sums shown may come from a stored row.
    const auto importo = [this](const char* nome) {
        return rules::Valore(rules::FormatoTesto(control(nome).text(), rules::kFormatoInModifica));
    };
    if (importo("txtSommaRedditiNucleoEur") < 0 || importo("txtRedditoAccessoEur") < 0) {
        message("Valore non valido");
        SommaReddito();
        mostraCampo(control("txtSommaRedditiNucleoEur"));
        return false;
    }
    return true;
}

// --- Field checks ----------------------------------------------------------------------------

void frmBaseVD::UscitaAnagrafica(ui::Control& campo) {
    campo.setText(store::utf8Upper(campo.text()));
    if (campo.name() == "txtCognomeRich" || campo.name() == "txtNomeRich") {
        control("txtNucleoNome", 0)
            .setText(control("txtCognomeRich").text() + " " + control("txtNomeRich").text());
    }
    VerificaDomandaAmmessa();
}

void frmBaseVD::UscitaCodiceFiscale() {
    ui::Control& campo = control("txtCodFiscRich");
    campo.setText(store::utf8Upper(campo.text()));
    switch (rules::VerificaCodiceFiscale(campo.text())) {
        case rules::EsitoCodiceFiscale::Corto:
            message("Il codice fiscale deve essere di 16 caratteri");
            setFocus(campo);
            return;
        case rules::EsitoCodiceFiscale::NonConforme:
            // Only the letter/digit pattern is checked; the operator may force the code.
            if (message("Il codice fiscale deve essere composto da 16 caratteri alfabetici e "
                        "numerici \r\nsecondo lo schema : AAAAAA99A99A999A - Forzare comunque "
                        "il codice ?",
                        ui::Buttons::YesNo, ui::Icon::None,
                        "Attenzione - Codice Fiscale non valido",
                        ui::Answer::No) != ui::Answer::Yes) {
                setFocus(campo);
                return;
            }
            break;
        case rules::EsitoCodiceFiscale::Accettato:
            break;
    }
    VerificaDomandaAmmessa();
}

void frmBaseVD::UscitaMaiuscolo(ui::Control& campo) {
    campo.setText(store::utf8Upper(campo.text()));
    VerificaDomandaAmmessa();
}

void frmBaseVD::UscitaDataPresentazione() {
    ui::Control& campo = control("txtDatPresentDom");
    const char* avviso = nullptr;
    // A late application is still registered, as excluded: the operator may move on.
    bool indietro = true;
    switch (rules::VerificaPresentazione(campo.text(), bando())) {
        case rules::EsitoPresentazione::NonValida:
            avviso = kDataNonValida;
            break;
        case rules::EsitoPresentazione::PrimaEmissione:
            avviso =
                "La data di presentazione non può essere inferiore alla data di emissione del "
                "bando ! ";
            break;
        case rules::EsitoPresentazione::DopoChiusura:
            avviso = "La data di presentazione é superiore alla data di chiusura del bando ! ";
            indietro = false;
            break;
        case rules::EsitoPresentazione::DopoOggi:
            avviso = "La data di presentazione non può essere superiore alla data corrente ! ";
            break;
        case rules::EsitoPresentazione::Vuota:
        case rules::EsitoPresentazione::Valida:
            break;
    }
    if (avviso != nullptr) message(avviso);
    VerificaDomandaAmmessa();
    if (avviso != nullptr && indietro) setFocus(campo);
}

void frmBaseVD::UscitaDataContratto(ui::Control& campo) {
    const char* avviso = nullptr;
    switch (rules::VerificaDataContratto(campo.text(), bando().oggi)) {
        case rules::EsitoData::NonValida:
            avviso = kDataNonValida;
            break;
        case rules::EsitoData::Futura:
            avviso = campo.name() == "txtContrattoDataIni"
                         ? "La data di inizio validità non può essere superiore alla data "
                           "corrente ! "
                         : "La data di registrazione non può essere superiore alla data "
                           "corrente ! ";
            break;
        case rules::EsitoData::Accettata:
        case rules::EsitoData::DopoPubblicazione:
            break;
    }
    if (avviso != nullptr) {
        message(avviso);
        setFocus(campo);
    }
    VerificaDomandaAmmessa();
}

void frmBaseVD::UscitaDataNascita(ui::Control& campo) {
    switch (rules::VerificaNascita(campo.text())) {
        case rules::EsitoData::NonValida:
            message(kDataNonValida);
            setFocus(campo);
            break;
        case rules::EsitoData::DopoPubblicazione:
            message(
                "La data di nascita non può essere superiore alla data di pubblicazione sul "
                "B.U.R. della D.G.R. (" +
                rules::TestoParametro(rules::Parametro::PubblicazioneDelibera) +
                ") !\r\nI componenti del nucleo familiare nati oltre tale data non vanno "
                "indicati nella domanda.");
            setFocus(campo);
            break;
        case rules::EsitoData::Accettata:
        case rules::EsitoData::Futura:
            break;
    }
    VerificaDomandaAmmessa();
}

rules::Completezza frmBaseVD::ValidaCampi() {
    const rules::Verifica v = rules::ValidaCampi(rules::LeggiTesti(testiDomanda()));
    if (v.grado == rules::Completezza::RigaIncompleta) {
        message("I dati del componente num.  " + std::to_string(v.riga + 1) +
                    " del nucleo familiare sono incompleti.\r\nValorizzarli tutti o pulire "
                    "tutta la riga ! ",
                ui::Buttons::OK, ui::Icon::Exclamation);
        setFocus(control("txtNucleoNome", v.riga));
    }
    return v.grado;
}

}  // namespace application
