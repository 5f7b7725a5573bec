#include "reports/frmStampeVD.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "startup/ModuloVD2005.h"
#include "store/DbError.h"
#include "ui/Program.h"
#include "ui/Tasti.h"

namespace reports {

namespace {

// Pieces of the statements, joined exactly as they are (double blanks included).
const std::string kBase = "Select * from qryStampaDomande ";
const std::string kBaseEscluse = "Select * from qryStampaDomande Where ";
const std::string kDal = " WHERE val(mid(NumRepertorio,13))>=";
const std::string kAl = " and val(mid(NumRepertorio,13))<=";
const std::string kOrdNumero = " order by val(mid(NumRepertorio,13)) ";
const std::string kOrdRichiedente = " order by CognomeRich, NomeRich, CodFiscRich ";
const std::string kConDiritto = " Where FlagDomandaOK='1' ";
const std::string kOrdFasciaNumero = " order by Fascia, val(mid(NumRepertorio,13)) ";
const std::string kOrdFasciaRichiedente = " order by Fascia, CognomeRich, NomeRich, CodFiscRich ";
const std::string kSenzaDiritto = " FlagDomandaOK='0' ";

const char* const kCornici[] = {
    "frameDalRepAlRep",      "frameOrdStaDom",           "frameOrdEleDom",
    "frameOrdEleDomDiritto", "frameOrdEleDomNonDiritto", "frameEsclusioni",
};
constexpr std::size_t kNumCornici = std::size(kCornici);

// A report type and the frames it shows, in the order of kCornici.
struct TipoStampa {
    const char* opzione;
    const char* didascalia;
    bool cornici[kNumCornici];
};
const TipoStampa kTipi[] = {
    {"opStampaDom", "Stampa domande", {true, true, false, false, false, false}},
    {"opEleDom", "Elenco completo domande", {false, false, true, false, false, false}},
    {"opEleDomDiritto",
     "Elenco domande aventi diritto (suddiviso per fascia)",
     {false, false, false, true, false, false}},
    {"opEleDomNonDiritto",
     "Elenco domande non aventi diritto",
     {false, false, false, false, true, true}},
    {"opFabbisogno", "Stampa Fabbisogno per Regione", {false, false, false, false, false, false}},
};

// The ordering frames: by register number, by applicant.
struct Ordinamento {
    const char* cornice;
    const char* perNumero;
    const char* perRichiedente;
};
const Ordinamento kOrdinamenti[] = {
    {"frameOrdStaDom", "opStaDomOrdRep", "opStaDomOrdRic"},
    {"frameOrdEleDom", "opEleDomOrdRep", "opEleDomOrdRic"},
    {"frameOrdEleDomDiritto", "opEleDomDirittoOrdRep", "opEleDomDirittoOrdRic"},
    {"frameOrdEleDomNonDiritto", "opEleDomNonDirittoOrdRep", "opEleDomNonDirittoOrdRic"},
};

// The exclusion lists, in the order in which they are printed.
struct Esclusione {
    const char* controllo;
    const char* didascalia;
    const char* titolo;
    const char* condizione;
};
const Esclusione kEsclusioni[] = {
    {"chkEscluseCateg", "Escluse per categoria catastale", "Elenco Domande Escluse per Categoria",
     " FlagEsclusaCateg='1' "},
    {"chkEscluseReddi", "Escluse per reddito", "Elenco Domande Escluse per Reddito",
     " FlagEsclusaReddi='1' "},
    {"chkEscluseIncid", "Escluse per incidenza canone",
     "Elenco Domande Escluse per Incidenza Canone", " FlagEsclusaIncid='1' "},
    {"chkEscluseContr", "Escluse per contratto", "Elenco Domande Escluse per Contratto",
     " FlagEsclusaContr='1' "},
    {"chkEscluseObbl", "Escluse per dati obbligatori mancanti",
     "Elenco Domande Escluse per Dati Mancanti", " FlagEsclusaObbl='1' "},
    {"chkEscluseTermine", "Escluse per presentazione fuori termine",
     "Elenco Domande Escluse per Presentazione Fuori Termine", " FlagEsclusaTermine='1' "},
    {"chkEscluseIstruttoria", "Escluse in seguito ad istruttoria comunale",
     "Elenco Domande Escluse in seguito ad Istruttoria comunale", " FlagEsclusaIstruttoria='1' "},
};

}  // namespace

frmStampeVD::frmStampeVD(ui::Program& program, startup::ModuloVD2005& modulo)
    : ui::Screen(program, "frmStampeVD", "Selezione Stampe"), modulo_(modulo) {
    auto conTesto = [this](ui::Kind kind, const char* name, const char* caption,
                           ui::Control* frame) -> ui::Control& {
        ui::Control& c = add(kind, name);
        c.setCaption(caption);
        c.container = frame;
        return c;
    };

    auto& tipo = conTesto(ui::Kind::Frame, "frameTipoStampa", "Tipo di stampa", nullptr);
    for (const TipoStampa& t : kTipi) {
        auto& op = conTesto(ui::Kind::OptionButton, t.opzione, t.didascalia, &tipo);
        op.group = "TipoStampa";
        op.onClick = [this] { AccendiSpegni(); };
    }

    auto& intervallo = conTesto(ui::Kind::Frame, "frameDalRepAlRep",
                                "Intervallo dei numeri di repertorio", nullptr);
    const struct {
        const char* etichetta;
        const char* didascalia;
        const char* prefisso;
        const char* numero;
    } estremi[] = {
        {"lblDalNumRep", "Dal Numero Repertorio :", "txtSuffissoRepertorio1", "txtDalNumRep"},
        {"lblAlNumRep", "Al Numero Repertorio :", "txtSuffissoRepertorio2", "txtAlNumRep"},
    };
    for (const auto& e : estremi) {
        conTesto(ui::Kind::Label, e.etichetta, e.didascalia, &intervallo);
        auto& prefisso = add(ui::Kind::TextBox, e.prefisso);
        prefisso.container = &intervallo;
        prefisso.setLocked(true);
        prefisso.tabStop = false;
        auto& numero = add(ui::Kind::TextBox, e.numero);
        numero.container = &intervallo;
        numero.maxLength = 6;
        numero.onKeyPress = [](int& key) { key = ui::FiltraNumeri(key); };
        // A pasted text keeps only its digits, as a typed one does: the number goes into the
        // statement as it stands.
        numero.onChange = [&numero] {
            std::string cifre = numero.text();
            std::erase_if(cifre, [](char c) { return c < '0' || c > '9'; });
            numero.setText(cifre);
        };
    }

    for (const Ordinamento& o : kOrdinamenti) {
        auto& cornice = conTesto(ui::Kind::Frame, o.cornice, "Ordinamento", nullptr);
        for (const auto& [name, caption] : {std::pair{o.perNumero, "Ord. x num. repertorio"},
                                            std::pair{o.perRichiedente, "Ord. x richiedente"}}) {
            conTesto(ui::Kind::OptionButton, name, caption, &cornice).group = o.cornice;
        }
    }

    auto& esclusioni =
        conTesto(ui::Kind::Frame, "frameEsclusioni", "Motivi di esclusione", nullptr);
    for (const Esclusione& e : kEsclusioni) {
        conTesto(ui::Kind::CheckBox, e.controllo, e.didascalia, &esclusioni);
    }

    conTesto(ui::Kind::Button, "cmdStampe", "&Stampa", nullptr).onClick = [this] {
        cmdStampe_Click();
    };
    conTesto(ui::Kind::Button, "cmdUscita", "&Uscita", nullptr).onClick = [this] {
        this->program().close(*this);
    };
}

void frmStampeVD::onLoad() {
    db_ = store::Database::open(modulo_.paths.archive());
    datDomanda_ = std::make_unique<store::RowSource>(db_, "qryStampaDomande");
    datFabbisogno_ = std::make_unique<store::RowSource>(db_, "qryFabbisognoStampa");
    datComuni_ = std::make_unique<store::RowSource>(db_, "ComuniValdoria");
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
    // The need statement prints the rows as they stood when the screen was opened.
    datFabbisogno_->requery();

    // Every list is ordered by register number unless the operator changes it.
    for (const Ordinamento& o : kOrdinamenti) control(o.perNumero).setValue(1);
    // The first report type, with its frames.
    control(kTipi[0].opzione).setValue(1);
}

void frmStampeVD::onActivate() {
    try {
        datConfig_->requery();
        datConfig_->moveFirst();
        const std::string comune = datConfig_->field("CodComune").toText();
        datComuni_->requery();
        datComuni_->findFirst("CodComune=?", {comune});
        const std::string prefisso = comune + "2005" + datConfig_->field("Punto_lavoro").toText();
        control("txtSuffissoRepertorio1").setText(prefisso);
        control("txtSuffissoRepertorio2").setText(prefisso);
    } catch (const store::DbError& e) {
        segnala(e);
    }
}

void frmStampeVD::onUnload() {
    datConfig_.reset();
    datComuni_.reset();
    datFabbisogno_.reset();
    datDomanda_.reset();
    db_.close();
}

void frmStampeVD::AccendiSpegni() {
    for (const TipoStampa& t : kTipi) {
        if (control(t.opzione).value() != 1) continue;
        for (std::size_t i = 0; i < kNumCornici; ++i) control(kCornici[i]).setVisible(t.cornici[i]);
    }
}

std::string frmStampeVD::ComponiQueryEscluse(const std::string& sParametro1) const {
    return kBaseEscluse + sParametro1 +
           (control("opEleDomNonDirittoOrdRep").value() == 1 ? kOrdNumero : kOrdRichiedente);
}

bool frmStampeVD::AvviaStampa(const std::string& sParametro1) {
    try {
        datDomanda_->setSource(sParametro1);
        datDomanda_->requery();
    } catch (const store::DbError& e) {
        segnala(e);
        return false;
    }
    return crpStampe_.Avvia(*datDomanda_, sParametro1);
}

std::string frmStampeVD::definizione(const char* nome) const {
    return modulo_.paths.programDir + "/" + nome;
}

void frmStampeVD::cmdStampe_Click() {
    std::string descrizione;
    try {
        descrizione = datComuni_->field("Descrizione").toText();
        crpStampe_.setFormula(0, "PuntoRaccolta=\"" + descrizione + " - " +
                                     datConfig_->field("Punto_lavoro").toText() + "\"");
    } catch (const store::DbError& e) {
        segnala(e);
        return;
    }
    const auto scelta = [this](const char* name) { return control(name).value() == 1; };
    std::string q = kBase;

    if (scelta("opStampaDom")) {
        const std::string& dal = control("txtDalNumRep").text();
        const std::string& al = control("txtAlNumRep").text();
        // An upper bound without a lower one is ignored.
        if (!dal.empty() && !al.empty()) {
            q += kDal + dal + kAl + al;
        } else if (!dal.empty()) {
            q += kDal + dal;
        }
        q += scelta("opStaDomOrdRep") ? kOrdNumero : kOrdRichiedente;
        crpStampe_.ReportFileName = definizione("VD_StaDom.rpt");
        AvviaStampa(q);
    } else if (scelta("opEleDom")) {
        q += scelta("opEleDomOrdRep") ? kOrdNumero : kOrdRichiedente;
        crpStampe_.ReportFileName = definizione("VD_EleDom.rpt");
        crpStampe_.WindowTitle = "Elenco Completo Domande";
        AvviaStampa(q);
    } else if (scelta("opEleDomDiritto")) {
        q += kConDiritto +
             (scelta("opEleDomDirittoOrdRep") ? kOrdFasciaNumero : kOrdFasciaRichiedente);
        crpStampe_.ReportFileName = definizione("VD_EleDomDir.rpt");
        AvviaStampa(q);
    } else if (scelta("opEleDomNonDiritto")) {
        crpStampe_.ReportFileName = definizione("VD_EleDom.rpt");
        const bool nessuna = std::none_of(std::begin(kEsclusioni), std::end(kEsclusioni),
                                          [&](const Esclusione& e) { return scelta(e.controllo); });
        if (nessuna) {
            crpStampe_.WindowTitle = "Elenco Domande Non Aventi Diritto";
            AvviaStampa(ComponiQueryEscluse(kSenzaDiritto));
            return;
        }
        // One list per checked reason; after a failure the operator has been told once.
        for (const Esclusione& e : kEsclusioni) {
            if (!scelta(e.controllo)) continue;
            crpStampe_.WindowTitle = e.titolo;
            if (!AvviaStampa(ComponiQueryEscluse(e.condizione))) return;
        }
    } else if (scelta("opFabbisogno")) {
        crpFabbisogno_.ReportFileName = definizione("VD_FabReg.rpt");
        crpFabbisogno_.setFormula(0, "PuntoRaccolta=\"" + descrizione + "\"");
        crpFabbisogno_.Avvia(*datFabbisogno_, "");
    }
}

void frmStampeVD::segnala(const store::DbError& e) {
    problemiOperazione(e.description(), e.number());
}

}  // namespace reports
