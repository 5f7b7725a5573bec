#include "application/frmBaseVD.h"

#include <cmath>
#include <iterator>
#include <utility>

#include "application/Nucleo.h"
#include "application/Repertorio.h"
#include "application/frmPercheVD.h"
#include "rules/Calcoli.h"
#include "rules/Campi.h"
#include "rules/Date.h"
#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "store/DbError.h"
#include "store/Dialect.h"
#include "store/Text.h"
#include "ui/Program.h"
#include "ui/Tasti.h"

namespace application {

namespace {

// How a tied control's text is stored in its field.
enum class Tipo {
    Testo,   // text, null when empty
    Lista,   // the list's code, null when none is chosen
    Data,    // ISO date, null when the text is not a date
    Numero,  // number, null when empty; an amount (rules::ColonnaImporto) is 0 then
    Intero,  // whole number, null when empty
};

struct Legame {
    const char* controllo;
    int indice;
    const char* campo;
    Tipo tipo;
    bool memorizzato = true;  // false for the repeats on the page of the municipality
};

// Controls tied to a field of the Domanda row.
const Legame kLegami[] = {
    {"txtRepertorio", -1, "NumRepertorio", Tipo::Testo},
    {"txtDatPresentDom", -1, "DataDomanda", Tipo::Data},
    {"txtCognomeRich", -1, "CognomeRich", Tipo::Testo},
    {"txtNomeRich", -1, "NomeRich", Tipo::Testo},
    {"txtCodFiscRich", -1, "CodFiscRich", Tipo::Testo},
    {"cmbComuneRich", -1, "ComuneRich", Tipo::Lista},
    {"txtIndiRich", -1, "IndiRich", Tipo::Testo},
    {"txtCapRich", -1, "CapRich", Tipo::Testo},
    {"txtSommaRedditiNucleoEur", -1, "RedditoComplessivoEur", Tipo::Numero},
    {"txtCanoneTotaleEur", -1, "CanoneTotaleEur", Tipo::Numero},
    {"txtContrattoNum", 0, "Contratto1Num", Tipo::Testo},
    {"txtContrattoNum", 1, "Contratto2Num", Tipo::Testo},
    {"txtCategCatasto", -1, "CategCatasto", Tipo::Testo},
    {"txtSuperfAlloggio", -1, "SuperfAlloggio", Tipo::Numero},
    {"txtNumAltreStanze", -1, "NumAltreStanze", Tipo::Intero},
    {"txtNumComponNucleo", -1, "NumComponNucleo", Tipo::Intero},
    {"txtNumFigliCarico", -1, "NumFigliCarico", Tipo::Intero},
    {"txtRedditoLordoEur", -1, "RedditoComplessivoEur", Tipo::Numero, false},
    {"txtCanoneTabComuneEur", -1, "CanoneTotaleEur", Tipo::Numero, false},
    {"txtIncidenzaCanRed", -1, "IncidenzaCanRed", Tipo::Numero},
    {"txtRedditoAccessoEur", -1, "RedditoAccessoEur", Tipo::Numero},
    {"txtFascia", -1, "Fascia", Tipo::Testo},
    {"txtIncremPercFasciaA", -1, "IncremPercFasciaA", Tipo::Numero},
    {"txtIncremPercLimiteRed", -1, "IncremPercLimiteRed", Tipo::Numero},
    {"txtContribBase", -1, "ContribBase", Tipo::Numero},
    {"txtIncremPercContrib", -1, "IncremPercContrib", Tipo::Numero},
    {"txtIncremImpoContrib", -1, "IncremImpoContrib", Tipo::Numero},
    {"txtTotContrib", -1, "TotContrib", Tipo::Numero},
    {"txtAltriContrib", -1, "AltriContributiDaEnti", Tipo::Numero},
    {"txtContribRichiesto", -1, "ContribRichiesto", Tipo::Numero},
    {"txtContribConcesso", -1, "ContribConcesso", Tipo::Numero},
    {"txtCoFinanzComune", -1, "CoFinanzComune", Tipo::Numero},
};

// Check boxes stored as the flags "1" and "0".
struct Spunta {
    const char* controllo;
    const char* campo;
};
const Spunta kDebolezza[] = {
    {"chkDebolUltra65", "FlagDebolUltra65"},
    {"chkDebolInvalidi", "FlagDebolInvalidi"},
    {"chkDebolSfratto", "FlagDebolSfratto"},
    {"chkDebolAltre", "FlagDebolAltre"},
};
const Spunta kComposizione[] = {
    {"chkCompAllCucina", "FlagCompAllCucina"}, {"chkCompAllCucinino", "FlagCompAllCucinino"},
    {"chkCompAllBagno", "FlagCompAllBagno"},   {"chkCompAllRipo", "FlagCompAllRipo"},
    {"chkCompAllIngre", "FlagCompAllIngre"},
};
const Spunta kIncrementi[] = {
    {"chkIncremLimiteFascia", "FlagIncremLimiteFascia"},
    {"chkIncremLimiteRed", "FlagIncremPercLimite"},
    {"chkIncremContrib", "FlagIncremPercContrib"},
};
const Spunta kEsclusioni[] = {
    {"chkEsclusaCateg", "FlagEsclusaCateg"},
    {"chkEsclusaReddi", "FlagEsclusaReddi"},
    {"chkEsclusaIncid", "FlagEsclusaIncid"},
    {"chkEsclusaContr", "FlagEsclusaContr"},
    {"chkEsclusaObbl", "FlagEsclusaObbl"},
    {"chkEsclusaTermine", "FlagEsclusaTermine"},
    {"chkEsclusaIstruttoria", "FlagEsclusaIstruttoria"},
};

// Option groups stored as the letter of the selected option, captioned with its description.
struct Opzione {
    const char* controllo;
    const rules::Codice& codice;
};
const Opzione kConsFab[] = {{"opConsFabP", rules::kStatiConservazione[0]},
                            {"opConsFabM", rules::kStatiConservazione[1]},
                            {"opConsFabB", rules::kStatiConservazione[2]}};
const Opzione kConsAll[] = {{"opConsAllP", rules::kStatiConservazione[0]},
                            {"opConsAllM", rules::kStatiConservazione[1]},
                            {"opConsAllB", rules::kStatiConservazione[2]}};
const Opzione kTipoCont[] = {{"opTipoContConc", rules::kTipiContratto[0]},
                             {"opTipoContLib", rules::kTipiContratto[1]},
                             {"opTipoContTran", rules::kTipiContratto[2]},
                             {"opTipoContNon", rules::kContrattoNonSpecificato}};

struct DataContratto {
    const char* controllo;
    int indice;
    const char* campo;
};
const DataContratto kDateContratto[] = {
    {"txtContrattoDataIni", 0, "Contratto1DataIni"},
    {"txtContrattoDataIni", 1, "Contratto2DataIni"},
    {"txtContrattoDataReg", 0, "Contratto1DataReg"},
    {"txtContrattoDataReg", 1, "Contratto2DataReg"},
};

store::Value dataMemorizzata(const std::string& testo) {
    const auto data = rules::LeggiData(testo);
    return data ? store::Value(data->iso()) : store::Value();
}

store::Value flag(bool on) {
    return store::Value(on ? "1" : "0");
}

// Finds an application by its register number.
bool trova(store::RowSource& rs, const std::string& numero) {
    return rs.findFirst("NumRepertorio=?", {numero});
}

// The pages of the tab strip, in the order of their titles below.
enum Pagina : int { kPaginaNucleo, kPaginaAlloggio, kPaginaStatistica, kPaginaComune };
const char* const kPagine[] = {
    "Informazioni personali e reddituali",
    "Informazioni sull'alloggio locato",
    "Informazioni statistiche",
    "Spazio Riservato al Comune",
};

}  // namespace

frmBaseVD::frmBaseVD(ui::Program& program, startup::ModuloVD2005& modulo,
                     std::optional<std::string> numero)
    : ui::Screen(program, "frmBaseVD", "Vendral"),
      modulo_(modulo),
      nuova_(!numero),
      numero_(numero.value_or("")) {
    creaIntestazione();
    auto& tab = add(ui::Kind::TabStrip, "SSTab1");
    tab.pages.assign(std::begin(kPagine), std::end(kPagine));
    creaPaginaNucleo();
    creaPaginaAlloggio();
    creaPaginaStatistica();
    creaPaginaComune();
    creaPulsanti();
}

// --- Controls -------------------------------------------------------------------------

namespace {

ui::Control& conTesto(ui::Screen& s, ui::Kind kind, const char* name, const char* caption, int page,
                      ui::Control* container = nullptr, int index = -1) {
    ui::Control& c = s.add(kind, name, index);
    if (caption != nullptr) c.setCaption(caption);
    c.page = page;
    c.container = container;
    return c;
}

ui::Control& campoCalcolato(ui::Screen& s, const char* name, int page, bool importo) {
    ui::Control& c = s.add(ui::Kind::TextBox, name);
    c.page = page;
    c.setLocked(true);
    c.rightAligned = importo;
    return c;
}

}  // namespace

void frmBaseVD::accoppia(ui::Control& a, ui::Control& b) {
    a.onChange = [this, &a, &b] {
        if (!BloccaEventi) b.setValue(a.value() == 0 ? 1 : 0);
    };
    b.onChange = [this, &a, &b] {
        if (!BloccaEventi) a.setValue(b.value() == 0 ? 1 : 0);
    };
}

void frmBaseVD::aggiungiRigheNucleo() {
    AggiungiRigheNucleo(*this, kPaginaNucleo);
    for (int i = 0; i < kRigheNucleo; ++i) {
        ui::Control& nome = control("txtNucleoNome", i);
        ui::Control& parent = control("cmbNucleoParent", i);
        ui::Control& nascita = control("txtNucleoDatNasc", i);
        ui::Control& profes = control("cmbNucleoProfes", i);
        ui::Control& reddito = control("txtNucleoRedditoEur", i);
        nome.onLeave = [this, &nome] {
            nome.setText(store::utf8Upper(nome.text()));
            VerificaDomandaAmmessa();
        };
        parent.onLeave = [this, &parent] {
            SvuotaSeNonInElenco(parent);
            CalcolaIncidenza();
        };
        nascita.onLeave = [this, &nascita] { UscitaDataNascita(nascita); };
        profes.onLeave = [this, &profes, i] {
            SvuotaSeNonInElenco(profes);
            if (i == 0) VerificaDomandaAmmessa();
        };
        reddito.onEnter = [this, &reddito] { EntrataImporto(reddito); };
        reddito.onLeave = [this, i] { UscitaRedditoComponente(i); };
    }
}

void frmBaseVD::creaIntestazione() {
    auto& txtRepertorio = add(ui::Kind::TextBox, "txtRepertorio");
    txtRepertorio.setLocked(true);
    txtRepertorio.tabStop = false;
    auto& txtDatPresentDom = add(ui::Kind::DateBox, "txtDatPresentDom");
    txtDatPresentDom.onLeave = [this] { UscitaDataPresentazione(); };
    for (const char* name : {"txtCognomeRich", "txtNomeRich"}) {
        ui::Control& c = add(ui::Kind::TextBox, name);
        c.maxLength = 40;
        c.onLeave = [this, &c] { UscitaAnagrafica(c); };
    }
    auto& txtCodFiscRich = add(ui::Kind::TextBox, "txtCodFiscRich");
    txtCodFiscRich.maxLength = 16;
    txtCodFiscRich.onLeave = [this] { UscitaCodiceFiscale(); };
    auto& cmbComuneRich = add(ui::Kind::ComboBox, "cmbComuneRich");
    cmbComuneRich.onLeave = [this, &cmbComuneRich] {
        if (cmbComuneRich.listIndex() < 0) cmbComuneRich.setBoundValue("");
        VerificaDomandaAmmessa();
    };
    auto& txtIndiRich = add(ui::Kind::TextBox, "txtIndiRich");
    txtIndiRich.maxLength = 50;
    txtIndiRich.onLeave = [this, &txtIndiRich] { UscitaAnagrafica(txtIndiRich); };
    auto& txtCapRich = add(ui::Kind::TextBox, "txtCapRich");
    txtCapRich.maxLength = 5;
    txtCapRich.onKeyPress = [](int& key) { key = ui::FiltraNumeri(key); };
}

void frmBaseVD::creaPaginaNucleo() {
    aggiungiRigheNucleo();
    campoCalcolato(*this, "txtSommaRedditiNucleoEur", kPaginaNucleo, true);
    auto& frame = conTesto(*this, ui::Kind::Frame, "frameDebolezza",
                           "Situazioni di particolare debolezza sociale", kPaginaNucleo);
    for (std::size_t i = 0; i < std::size(kDebolezza); ++i) {
        ui::Control& c =
            conTesto(*this, ui::Kind::CheckBox, kDebolezza[i].controllo,
                     rules::DidascaliaDebolezza(static_cast<int>(i)), kPaginaNucleo, &frame);
        // Ticking or unticking takes effect when the operator moves on.
        c.onLeave = [this] { VerificaDebolSoc(); };
    }
}

void frmBaseVD::creaPaginaAlloggio() {
    auto& canone = add(ui::Kind::TextBox, "txtCanoneTotaleEur");
    canone.page = kPaginaAlloggio;
    canone.maxLength = 17;
    canone.rightAligned = true;
    canone.onEnter = [this, &canone] { EntrataImporto(canone); };
    canone.onKeyPress = [&canone](int& key) { key = ui::FiltraNumeriVirgole(key, canone.text()); };
    canone.onLeave = [this] { UscitaCanone(); };

    auto& priv = conTesto(*this, ui::Kind::CheckBox, "chkTipAlloggioPriv",
                          "Alloggio di Proprietà Privata", kPaginaAlloggio);
    auto& erp = conTesto(*this, ui::Kind::CheckBox, "chkTipAlloggioErp",
                         "Alloggio di Edilizia Residenziale Pubblica", kPaginaAlloggio);
    accoppia(erp, priv);

    auto& contratto = conTesto(*this, ui::Kind::Frame, "frameContratto", "Contratto di locazione",
                               kPaginaAlloggio);
    for (int i = 0; i < 2; ++i) {
        auto& numero = conTesto(*this, ui::Kind::TextBox, "txtContrattoNum", nullptr,
                                kPaginaAlloggio, &contratto, i);
        numero.maxLength = 20;
        numero.onLeave = [this, &numero] { UscitaMaiuscolo(numero); };
        for (const char* name : {"txtContrattoDataReg", "txtContrattoDataIni"}) {
            auto& data =
                conTesto(*this, ui::Kind::DateBox, name, nullptr, kPaginaAlloggio, &contratto, i);
            data.onLeave = [this, &data] { UscitaDataContratto(data); };
        }
    }
    auto& nonRegistr = conTesto(
        *this, ui::Kind::CheckBox, "chkFlagNonRegistr",
        "Alloggio di Proprietà di una società non tenuta alla registrazione", kPaginaAlloggio);
    nonRegistr.onChange = [this] { VerificaDomandaAmmessa(); };

    auto& catasto = conTesto(*this, ui::Kind::Frame, "frameCatasto",
                             "Tipologia catastale dell'alloggio", kPaginaAlloggio);
    auto& categoria =
        conTesto(*this, ui::Kind::TextBox, "txtCategCatasto", nullptr, kPaginaAlloggio, &catasto);
    categoria.maxLength = 3;
    categoria.onLeave = [this, &categoria] { UscitaMaiuscolo(categoria); };
    conTesto(*this, ui::Kind::Label, "lblNotaCategoria",
             "N.B. : La categoria catastale deve essere indicata nel formato AN dove A indica "
             "una lettera ed N un numero, senza utilizzare separatori quali trattini spazi o "
             "barre.",
             1, &catasto);
}

void frmBaseVD::creaPaginaStatistica() {
    auto& superficie = add(ui::Kind::TextBox, "txtSuperfAlloggio");
    superficie.page = kPaginaStatistica;
    superficie.maxLength = 6;
    superficie.onKeyPress = [&superficie](int& key) {
        key = ui::FiltraNumeriVirgole(key, superficie.text());
    };
    superficie.onLeave = [this] { UscitaSuperficie(); };

    auto& conservazione = conTesto(*this, ui::Kind::Frame, "frameConservazione",
                                   "Stato di conservazione", kPaginaStatistica);
    const std::pair<const Opzione*, const char*> righe[] = {{kConsFab, "ConsFab"},
                                                            {kConsAll, "ConsAll"}};
    for (const auto& [opzioni, gruppo] : righe) {
        for (std::size_t i = 0; i < std::size(rules::kStatiConservazione); ++i) {
            auto& op = conTesto(*this, ui::Kind::OptionButton, opzioni[i].controllo,
                                opzioni[i].codice.descrizione, kPaginaStatistica, &conservazione);
            op.group = gruppo;
        }
    }

    auto& composizione = conTesto(*this, ui::Kind::Frame, "frameComposizione",
                                  "Composizione dell'alloggio", kPaginaStatistica);
    const char* const stanze[] = {"Cucina", "Cucinino", "Bagno", "Ripostiglio", "Ingresso"};
    for (std::size_t i = 0; i < std::size(kComposizione); ++i) {
        conTesto(*this, ui::Kind::CheckBox, kComposizione[i].controllo, stanze[i],
                 kPaginaStatistica, &composizione);
    }
    accoppia(control("chkCompAllCucina"), control("chkCompAllCucinino"));
    auto& altreStanze = conTesto(*this, ui::Kind::TextBox, "txtNumAltreStanze", nullptr,
                                 kPaginaStatistica, &composizione);
    altreStanze.maxLength = 2;
    altreStanze.onKeyPress = [](int& key) { key = ui::FiltraNumeri(key); };
    altreStanze.onLeave = [this] { UscitaAltreStanze(); };

    auto& tipo = conTesto(*this, ui::Kind::Frame, "frameTipoContratto", "Tipologia del contratto",
                          kPaginaStatistica);
    for (const Opzione& o : kTipoCont) {
        conTesto(*this, ui::Kind::OptionButton, o.controllo, o.codice.descrizione,
                 kPaginaStatistica, &tipo)
            .group = "TipoCont";
    }
}

void frmBaseVD::creaPaginaComune() {
    campoCalcolato(*this, "txtNumComponNucleo", kPaginaComune, false);
    campoCalcolato(*this, "txtNumFigliCarico", kPaginaComune, false);
    campoCalcolato(*this, "txtRedditoLordoEur", kPaginaComune, true);
    campoCalcolato(*this, "txtCanoneTabComuneEur", kPaginaComune, true);
    campoCalcolato(*this, "txtIncidenzaCanRed", kPaginaComune, false);
    campoCalcolato(*this, "txtRedditoAccessoEur", kPaginaComune, true);
    campoCalcolato(*this, "txtFascia", kPaginaComune, false);
    auto& chkDebolezzaSoc =
        conTesto(*this, ui::Kind::CheckBox, "chkDebolezzaSoc",
                 "Presenza di situazioni di particolare debolezza sociale", kPaginaComune);
    chkDebolezzaSoc.setLocked(true);
    chkDebolezzaSoc.tabStop = false;

    // An increment option and its percentage, 0 to 25.
    // The option's reaction runs on the operator's change and on the loading of a stored
    // application; the rules run the reactions of their own changes themselves.
    auto opzione = [this](const char* box, rules::Opzione o, const char* field,
                          ui::Control* frame) {
        auto& chk =
            conTesto(*this, ui::Kind::CheckBox, box, rules::Didascalia(o), kPaginaComune, frame);
        chk.onChange = [this, o] {
            if (!BloccaEventi) Regole(rules::CambioDi(o));
        };
        auto& perc = conTesto(*this, ui::Kind::TextBox, field, nullptr, kPaginaComune, frame);
        perc.maxLength = 5;
        perc.onKeyPress = [&perc](int& key) { key = ui::FiltraNumeriVirgole(key, perc.text()); };
        perc.onLeave = [this, &perc] { UscitaPercentuale(perc); };
    };
    auto& limiti = conTesto(*this, ui::Kind::Frame, "frameIncrementoLimiti",
                            "Incremento dei limiti di reddito", kPaginaComune);
    opzione("chkIncremLimiteFascia", rules::Opzione::LimiteFasciaA, "txtIncremPercFasciaA",
            &limiti);
    opzione("chkIncremLimiteRed", rules::Opzione::LimiteReddito, "txtIncremPercLimiteRed", &limiti);

    campoCalcolato(*this, "txtContribBase", kPaginaComune, true);
    opzione("chkIncremContrib", rules::Opzione::Contributo, "txtIncremPercContrib", nullptr);
    auto& ridotto =
        conTesto(*this, ui::Kind::Label, "lblIncremRidotto", "(ridotto)", kPaginaComune);
    ridotto.setForeColor("#FF0000");
    ridotto.setVisible(false);
    campoCalcolato(*this, "txtIncremImpoContrib", kPaginaComune, true);
    campoCalcolato(*this, "txtTotContrib", kPaginaComune, true);

    // The amounts the municipality fills in.
    auto importoComune = [this](const char* name, int maxLength) {
        auto& c = add(ui::Kind::TextBox, name);
        c.page = kPaginaComune;
        c.maxLength = maxLength;
        c.rightAligned = true;
        c.onEnter = [this, &c] { EntrataImporto(c); };
        c.onKeyPress = [&c](int& key) { key = ui::FiltraNumeriVirgole(key, c.text()); };
        c.onLeave = [this, &c] { UscitaImportoComune(c); };
    };
    importoComune("txtAltriContrib", 17);
    campoCalcolato(*this, "txtContribRichiesto", kPaginaComune, true);
    importoComune("txtContribConcesso", 10);
    importoComune("txtCoFinanzComune", 10);
    campoCalcolato(*this, "txtContribDaErogare", kPaginaComune, true);

    // The verdict and the exclusions are the program's, except the municipality's own.
    using rules::Didascalia;
    using rules::Esclusione;
    const std::pair<const char*, const char*> verdetto[] = {
        {"chkDomandaOK", "Domanda ammissibile"},
        {"chkDomandaNo", "Domanda non ammissibile"},
        {"chkEsclusaObbl", Didascalia(Esclusione::DatiMancanti)},
        {"chkEsclusaIncid", Didascalia(Esclusione::Incidenza)},
        {"chkEsclusaReddi", Didascalia(Esclusione::Reddito)},
        {"chkEsclusaCateg", Didascalia(Esclusione::Categoria)},
        {"chkEsclusaContr", Didascalia(Esclusione::Contratto)},
        {"chkEsclusaTermine", Didascalia(Esclusione::Termine)},
    };
    // Set by the program only: shown, never reached with Tab.
    for (const auto& [name, caption] : verdetto) {
        auto& chk = conTesto(*this, ui::Kind::CheckBox, name, caption, kPaginaComune);
        chk.setLocked(true);
        chk.tabStop = false;
    }
    conTesto(*this, ui::Kind::CheckBox, "chkEsclusaIstruttoria",
             Didascalia(Esclusione::Istruttoria), kPaginaComune)
        .onChange = [this] { VerificaDomandaAmmessa(); };
    // The reasoning behind the verdict and the amounts shown.
    conTesto(*this, ui::Kind::Button, "cmdPerche", "&Perché?", kPaginaComune).onClick = [this] {
        cmdPerche_Click();
    };
}

void frmBaseVD::creaPulsanti() {
    auto pulsante = [this](const char* name, const char* caption) -> ui::Control& {
        return conTesto(*this, ui::Kind::Button, name, caption, -1);
    };
    pulsante("cmdInserimento", "&Registra").onClick = [this] { ValorizzaRs(); };
    pulsante("cmdNuova", "&Nuova Domanda").onClick = [this] {
        nuova_ = true;
        annullaRigaPendente();
        control("SSTab1").setCurrentPage(kPaginaNucleo);
        Attiva();
    };
    pulsante("cmdStampa", "&Stampa Ricevuta").onClick = [this] { cmdStampa_Click(); };
    auto& uscita = pulsante("cmdUscita", nullptr);
    uscita.toolTip = "Torna al menu";
    uscita.onClick = [this] {
        annullaRigaPendente();
        chiudi();
    };
    pulsante("cmdFine", "Fine").onClick = [this] {
        annullaRigaPendente();
        this->program().end();
    };
}

// --- Life cycle -----------------------------------------------------------------------

void frmBaseVD::apriDati() {
    if (db_.isOpen()) return;
    db_ = store::Database::open(modulo_.paths.archive());
    datDomanda_ = std::make_unique<store::RowSource>(db_, "Domanda");
    datNucleo_ = std::make_unique<store::RowSource>(db_, "NucleoFam");
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
    datMax_ = std::make_unique<store::RowSource>(db_, "");     // set by each allocation
    datStampa_ = std::make_unique<store::RowSource>(db_, "");  // set by each receipt
    store::RowSource datComuni(db_, "select * from ComuniValdoria order by Descrizione");
    control("cmbComuneRich").setItems(VociLista(datComuni, "CodComune", "Descrizione"));
    CaricaListeNucleo(*this, db_);
}

void frmBaseVD::onActivate() {
    // Back from a screen opened over this one: the application shown stays as it is.
    if (std::exchange(sopra_, false)) return;
    Attiva();
}

void frmBaseVD::Attiva() {
    try {
        apriDati();
        datConfig_->requery();
        auto dataBando = [this](const char* field) {
            const auto moment = store::parseStoredDateTime(datConfig_->field(field).toText());
            return moment ? moment->date : store::Date{};
        };
        DataEmisBando = dataBando("Data_emis_bando");
        DataChiusBando = dataBando("Data_chius_bando");
        datDomanda_->requery();
        if (nuova_) {
            datDomanda_->addNew();
            mostraCampiLegati();
            const auto numero = AssegnaNumeroRepertorio(*datMax_, *datConfig_);
            if (!numero) {
                datDomanda_->cancelUpdate();
                message(
                    "Impossibile assegnare un nuovo numero di repertorio: raggiunto il "
                    "limite di " +
                    std::to_string(kProgressivoMassimo) + " domande.");
                chiudi();
                return;
            }
            control("txtRepertorio").setText(*numero);
            control("cmbComuneRich").setBoundValue(datConfig_->field("CodComune").toText());
            PulisciControlli();
        } else if (trova(*datDomanda_, numero_)) {
            ValorizzaControlli(Modo::Apertura);
        } else {
            message("La domanda " + numero_ + " non è presente in archivio.");
            chiudi();
        }
    } catch (const store::DbError& e) {
        segnala(e);
        chiudi();
    }
}

void frmBaseVD::mostraCampiLegati() {
    for (const Legame& l : kLegami) {
        const store::Value v = datDomanda_->field(l.campo);
        ui::Control& c = control(l.controllo, l.indice);
        switch (l.tipo) {
            case Tipo::Testo:
                c.setText(v.toText());
                break;
            case Tipo::Lista:
                c.setBoundValue(v.toText());
                break;
            case Tipo::Data:
                c.setText(rules::FormattaDataMemorizzata(v.toText()));
                break;
            case Tipo::Numero:
            case Tipo::Intero:
                c.setText(rules::NumeroMemorizzato(v));
                break;
        }
    }
}

void frmBaseVD::ValorizzaControlli(Modo modo) {
    // The row just made current shows in the tied controls; it stays being edited.
    mostraCampiLegati();
    store::RowSource& rs = *datDomanda_;
    rs.edit();
    const double incrementoPieno = store::roundHalfEven(
        rs.field("ContribBase").toDouble() * rs.field("IncremPercContrib").toDouble() / 100, 2);
    control("lblIncremRidotto")
        .setVisible(incrementoPieno > rs.field("IncremImpoContrib").toDouble());
    if (modo == Modo::Apertura)
        CaricaNucleo(*this, *datNucleo_, rs.field("NumRepertorio").toText());
    for (const Legame& l : kLegami) {
        if (!rules::ColonnaImporto(l.campo)) continue;
        // A stored value with no decimal form (an infinity) stays as it reads, so that
        // registering refuses it rather than store 0.
        ui::Control& c = control(l.controllo, l.indice);
        if (c.text().empty() || rules::LeggiNumero(c.text())) {
            c.setText(rules::Euro(rules::Valore(c.text())));
        }
    }
    for (const DataContratto& d : kDateContratto) {
        control(d.controllo, d.indice)
            .setText(rules::FormattaDataMemorizzata(rs.field(d.campo).toText()));
    }

    // Each change below runs the box's own reaction, as the operator's would.
    const auto spunta = [this, &rs](const Spunta& s) {
        control(s.controllo).setValue(rs.field(s.campo).toText() == "1" ? 1 : 0);
    };
    const auto seleziona = [this, &rs](const auto& opzioni, const char* campo) {
        for (const Opzione& o : opzioni) {
            if (rs.field(campo).toText() == o.codice.lettera) {
                control(o.controllo).setValue(1);
                return true;
            }
        }
        return false;
    };
    for (const Spunta& s : kDebolezza) spunta(s);
    if (rs.field("FlagTipoAlloggio").toText() == rules::kAlloggioErp.lettera) {
        control("chkTipAlloggioErp").setValue(1);
    } else {
        control("chkTipAlloggioPriv").setValue(1);
    }
    if (!seleziona(kTipoCont, "FlagTipoContratto")) control("opTipoContNon").setValue(1);
    seleziona(kConsFab, "FlagConserFab");
    seleziona(kConsAll, "FlagConserAll");
    for (const Spunta& s : kComposizione) spunta(s);
    spunta({"chkFlagNonRegistr", "FlagNonRegistr"});
    for (const Spunta& s : kIncrementi) spunta(s);
    const bool ammessa = rs.field("FlagDomandaOK").toText() == "1";
    control("chkDomandaNo").setValue(ammessa ? 0 : 1);
    control("chkDomandaOK").setValue(ammessa ? 1 : 0);
    for (const Spunta& s : kEsclusioni) spunta(s);
    VerificaDebolSoc();
}

void frmBaseVD::PulisciControlli() {
    PulisciNucleo(*this);
    for (const char* name : {"chkDebolUltra65", "chkDebolInvalidi", "chkDebolSfratto",
                             "chkDebolAltre", "chkFlagNonRegistr", "chkEsclusaIstruttoria"}) {
        control(name).setValue(0);
    }
    for (const DataContratto& d : kDateContratto) control(d.controllo, d.indice).setText("");
    CalcolaIncidenza();
    BloccaEventi = true;
    control("chkTipAlloggioPriv").setValue(0);
    control("chkTipAlloggioErp").setValue(0);
    BloccaEventi = false;
    for (const char* name :
         {"opConsFabP", "opConsFabM", "opConsFabB", "opConsAllP", "opConsAllM", "opConsAllB",
          "opTipoContConc", "opTipoContLib", "opTipoContNon", "opTipoContTran"}) {
        control(name).setValue(0);
    }
    BloccaEventi = true;
    control("chkCompAllCucina").setValue(0);
    control("chkCompAllCucinino").setValue(0);
    BloccaEventi = false;
    for (const char* name : {"chkCompAllBagno", "chkCompAllRipo", "chkCompAllIngre"}) {
        control(name).setValue(0);
    }
}

// --- Registration ---------------------------------------------------------------------

void frmBaseVD::scriviCampi(const store::DateTime& adesso) {
    store::RowSource& rs = *datDomanda_;
    const auto selezionata = [this](const auto& opzioni) -> const char* {
        for (const Opzione& o : opzioni) {
            if (control(o.controllo).value() == 1) return o.codice.lettera;
        }
        return nullptr;
    };
    const auto spuntata = [this, &rs](const Spunta& s) {
        rs.setField(s.campo, flag(control(s.controllo).value() == 1));
    };

    for (const Spunta& s : kDebolezza) spuntata(s);
    rs.setField("FlagTipoAlloggio", control("chkTipAlloggioErp").value() == 1
                                        ? rules::kAlloggioErp.lettera
                                        : rules::kAlloggioPrivato.lettera);
    const char* tipo = selezionata(kTipoCont);
    rs.setField("FlagTipoContratto",
                tipo != nullptr ? tipo : rules::kContrattoNonSpecificato.lettera);
    // With no state of repair chosen the stored one stays.
    if (const char* fab = selezionata(kConsFab)) rs.setField("FlagConserFab", fab);
    if (const char* all = selezionata(kConsAll)) rs.setField("FlagConserAll", all);
    for (const Spunta& s : kComposizione) spuntata(s);
    for (const Spunta& s : kIncrementi) spuntata(s);
    rs.setField("FlagDomandaOK", flag(control("chkDomandaOK").value() == 1));
    for (const Spunta& s : kEsclusioni) spuntata(s);
    rs.setField("FlagEsclusaMancaContr", flag(MancaContratto));
    spuntata({"chkFlagNonRegistr", "FlagNonRegistr"});
    for (const DataContratto& d : kDateContratto) {
        rs.setField(d.campo, dataMemorizzata(control(d.controllo, d.indice).text()));
    }
    rs.setField("DataRegistrazione", adesso.iso());

    for (const Legame& l : kLegami) {
        if (!l.memorizzato) continue;
        const ui::Control& c = control(l.controllo, l.indice);
        const std::string& testo = c.text();
        store::Value v;
        switch (l.tipo) {
            case Tipo::Testo:
                if (!testo.empty()) v = testo;
                break;
            case Tipo::Lista:
                if (!c.boundValue().empty()) v = c.boundValue();
                break;
            case Tipo::Data:
                v = dataMemorizzata(testo);
                break;
            case Tipo::Numero:
                if (!testo.empty() || rules::ColonnaImporto(l.campo)) v = rules::Valore(testo);
                break;
            case Tipo::Intero:
                if (!testo.empty())
                    v = static_cast<std::int64_t>(std::llround(rules::Valore(testo)));
                break;
        }
        rs.setField(l.campo, v);
    }
}

void frmBaseVD::ValorizzaRs() {
    if (!NumeriRegistrabili()) return;
    switch (ValidaCampi()) {
        case rules::Completezza::MancaIlMinimo:
            message(
                "Per registrare una domanda si devono valorizzare almeno la Data di "
                "presentazione e \r\nCognome e Nome del Richiedente! ",
                ui::Buttons::OK, ui::Icon::Exclamation);
            return;
        case rules::Completezza::MancanoDatiFondamentali:
            if (message("Mancano dei dati fondamentali per la validità della domanda.\r\n"
                        "Proseguire con la registrazione ? ",
                        ui::Buttons::YesNo, ui::Icon::Information, "Attenzione",
                        ui::Answer::Yes) != ui::Answer::Yes) {
                return;
            }
            break;
        case rules::Completezza::RigaIncompleta:
            return;
        case rules::Completezza::Completa:
            break;
    }
    const auto importo = [this](const char* name) {
        return rules::Valore(rules::FormatoTesto(control(name).text(), rules::kFormatoInModifica));
    };
    if (importo("txtSommaRedditiNucleoEur") == importo("txtCanoneTotaleEur") &&
        message("Il Reddito Complessivo è uguale al Canone.\r\nProseguire con la registrazione ? ",
                ui::Buttons::YesNo, ui::Icon::Information, "Attenzione",
                ui::Answer::Yes) != ui::Answer::Yes) {
        return;
    }

    // The application row and its household rows are stored together or not at all. The
    // household rows are replaced as a whole; for a new application this also removes rows
    // left under its number by an application that is no longer there.
    const std::string numero = control("txtRepertorio").text();
    const store::DateTime adesso = ports().clock->now();
    try {
        store::Transaction tx(db_);
        apriRigaPendente(numero);
        scriviCampi(adesso);
        datDomanda_->update();
        db_.execute("Delete from NucleoFam where NumRepertorio=?", {numero});
        MemorizzaNucleo(*this, db_, numero, adesso);
        tx.commit();
    } catch (const store::DbError& e) {
        message(
            "Registrazione della domanda NON effettuata ! \r\n\r\nSi è verificata "
            "un'anomalia : \r\n" +
                ui::NumeroConSegno(e.number()) + " (" + e.description() + ") in " + e.source(),
            ui::Buttons::OK, ui::Icon::Exclamation);
        try {
            // The rolled-back insertion must not stay listed; the next save opens its pending
            // row again.
            datDomanda_->requery();
        } catch (const store::DbError& e2) {
            segnala(e2);
        }
        return;
    }

    nuova_ = false;
    try {
        trova(*datDomanda_, numero);
        ValorizzaControlli(Modo::DopoRegistrazione);
    } catch (const store::DbError& e) {
        segnala(e);
    }
    message("Registrazione della domanda effettuata ! ", ui::Buttons::OK, ui::Icon::Information);
}

void frmBaseVD::apriRigaPendente(const std::string& numero) {
    if (nuova_) {
        if (datDomanda_->editMode() != store::EditMode::Adding) datDomanda_->addNew();
        return;
    }
    if (!trova(*datDomanda_, numero)) {
        throw store::DbError(store::kErrNoCurrentRow, "Nessun record corrente.",
                             "frmBaseVD.ValorizzaRs");
    }
    datDomanda_->edit();
}

// --- Receipt --------------------------------------------------------------------------

void frmBaseVD::cmdStampa_Click() {
    // No save first: a new application not yet registered prints an empty receipt.
    const std::string sql = "Select * from qryStampaDomande WHERE NumRepertorio=" +
                            store::quote(control("txtRepertorio").text()) + " ";
    datStampa_->setSource(sql);
    crpStampe_.setFormula(0, "PuntoRaccolta=\"" + control("cmbComuneRich").text() + "\"");
    crpStampe_.ReportFileName = modulo_.paths.programDir + "/VD_Ricev.rpt";
    try {
        datStampa_->requery();
    } catch (const store::DbError& e) {
        segnala(e);
        return;
    }
    crpStampe_.Avvia(*datStampa_, sql);
}

// --- Perché? ---------------------------------------------------------------------------

void frmBaseVD::cmdPerche_Click() {
    // The application as shown, registered or not; nothing is changed or stored.
    const rules::Spiegazione spiegazione =
        rules::Spiega(rules::LeggiTesti(testiDomanda()), bando());
    frmPercheVD::Contenuto c;
    c.numero = control("txtRepertorio").text();
    c.richiedente =
        rules::SenzaSpazi(control("txtCognomeRich").text() + " " + control("txtNomeRich").text());
    c.dataDomanda = control("txtDatPresentDom").text();
    c.blocchi = rules::BlocchiSpiegazione(spiegazione, rules::Origine::Schermo);
    sopra_ = true;
    MostraPerche(program(), modulo_.paths.programDir, std::move(c));
}

// --- Leaving --------------------------------------------------------------------------

void frmBaseVD::annullaRigaPendente() {
    if (datDomanda_ && datDomanda_->editMode() != store::EditMode::None) {
        datDomanda_->cancelUpdate();
    }
}

void frmBaseVD::chiudi() {
    program().close(*this);
}

void frmBaseVD::onCloseRequest() {
    annullaRigaPendente();
    chiudi();
}

void frmBaseVD::onUnload() {
    datStampa_.reset();
    datMax_.reset();
    datConfig_.reset();
    datNucleo_.reset();
    datDomanda_.reset();
    db_.close();
}

void frmBaseVD::segnala(const store::DbError& e) {
    problemiOperazione(e.description(), e.number());
}

}  // namespace application
