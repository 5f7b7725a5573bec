#include "startup/frmConfigVD.h"

#include "rules/Date.h"
#include "rules/Parametri.h"
#include "startup/Configurazione.h"
#include "startup/ModuloVD2005.h"
#include "store/Text.h"
#include "ui/Program.h"
#include "ui/Tasti.h"

namespace startup {

namespace {

int AnnoBando() {
    return static_cast<int>(rules::ValoreParametro(rules::Parametro::AnnoBando));
}

const char* const kDataNonValida =
    "Data non valida ! \r\nImpostarla nuovamente nel formato gg/mm/aaaa.";

}  // namespace

frmConfigVD::frmConfigVD(ui::Program& program, ModuloVD2005& modulo)
    : ui::Screen(program, "frmConfigVD", "Vendral 2005 - Configurazione posto di lavoro"),
      modulo_(modulo) {
    auto& cmbComune = add(ui::Kind::ComboBox, "cmbComune");
    auto& txtCodComune = add(ui::Kind::TextBox, "txtCodComune");
    txtCodComune.setLocked(true);
    txtCodComune.tabStop = false;
    auto& txtPuntoLavoro = add(ui::Kind::TextBox, "txtPuntoLavoro");
    txtPuntoLavoro.maxLength = 2;
    auto& txtDatEmissione = add(ui::Kind::DateBox, "txtDatEmissione");
    auto& txtDatChiusura = add(ui::Kind::DateBox, "txtDatChiusura");
    auto& frameUtente = add(ui::Kind::Frame, "frameUtente");
    for (const char* name : {"txtUtente", "txtPwd", "txtPwdConf"}) {
        ui::Control& c = add(ui::Kind::TextBox, name);
        c.maxLength = 15;
        c.container = &frameUtente;
    }
    control("txtPwd").passwordChar = "*";
    control("txtPwdConf").passwordChar = "*";
    auto& cmdAvvisoPwd = add(ui::Kind::Button, "cmdAvvisoPwd");
    cmdAvvisoPwd.setCaption("?");
    cmdAvvisoPwd.container = &frameUtente;
    auto& cmdInserimento = add(ui::Kind::Button, "cmdInserimento");
    cmdInserimento.setCaption("&Memorizza Configurazione");
    auto& cmdUscita = add(ui::Kind::Button, "cmdUscita");
    cmdUscita.toolTip = "Uscita";

    cmbComune.onClick = [&cmbComune, &txtCodComune] {
        txtCodComune.setText(cmbComune.boundValue());
    };
    cmbComune.onLeave = [this] { cmbComune_Leave(); };
    txtPuntoLavoro.onKeyPress = [this](int& key) { txtPuntoLavoro_KeyPress(key); };
    txtPuntoLavoro.onLeave = [&txtPuntoLavoro] {
        txtPuntoLavoro.setText(store::utf8Upper(txtPuntoLavoro.text()));
    };
    txtDatEmissione.onLeave = [this] { txtDatEmissione_Leave(); };
    txtDatChiusura.onLeave = [this] { txtDatChiusura_Leave(); };
    cmdAvvisoPwd.onClick = [this] { cmdAvvisoPwd_Click(); };
    cmdInserimento.onClick = [this] { cmdInserimento_Click(); };
    cmdUscita.onClick = [this] { this->program().close(*this); };
}

void frmConfigVD::onLoad() {
    db_ = store::Database::open(modulo_.paths.archive());
    datComuni_ = std::make_unique<store::RowSource>(
        db_, "select * from ComuniValdoria order by Descrizione");
    datComuni_->requery();
    std::vector<ui::ListItem> items;
    for (int i = 0; i < datComuni_->recordCount(); ++i) {
        items.push_back({datComuni_->fieldAt(i, "CodComune").toText(),
                         datComuni_->fieldAt(i, "Descrizione").toText()});
    }
    control("cmbComune").setItems(std::move(items));
}

void frmConfigVD::onUnload() {
    datComuni_.reset();
    db_.close();
}

void frmConfigVD::cmbComune_Leave() {
    ui::Control& cmbComune = control("cmbComune");
    if (cmbComune.listIndex() >= 0) {
        control("txtCodComune").setText(cmbComune.boundValue());
    } else {
        cmbComune.setBoundValue("");
        control("txtCodComune").setText("");
    }
}

void frmConfigVD::txtPuntoLavoro_KeyPress(int& key) {
    const bool lettera = (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
    if (lettera || key == ui::kTastoBackspace) return;
    key = 0;
    message("Carattere non valido ! \r\nInserire solo caratteri alfabetici.");
}

bool frmConfigVD::ControllaEmissione(bool memorizzando) {
    ui::Control& campo = control("txtDatEmissione");
    if (campo.text().empty()) return true;
    const auto emissione = rules::LeggiData(campo.text());
    // The call is issued after the regional resolution is published, in the call's year.
    const store::Date pubblicazione = rules::DataParametro(rules::Parametro::PubblicazioneDelibera);
    const char* errore = nullptr;
    std::string testo;
    if (!emissione) {
        errore = kDataNonValida;
    } else if (emissione->year != AnnoBando()) {
        testo = "L'anno della data di emissione deve essere il " +
                rules::TestoParametro(rules::Parametro::AnnoBando) + " ! ";
    } else if (*emissione <= pubblicazione) {
        testo = "La data di emissione deve essere superiore al " +
                rules::FormattaData(pubblicazione) + " ! ";
    } else {
        const std::string& altra = control("txtDatChiusura").text();
        const auto chiusura = rules::LeggiData(altra);
        if (!altra.empty() && chiusura && *chiusura <= *emissione) {
            errore = "La data di emissione deve essere inferiore a quella di chiusura ! ";
        }
    }
    if (errore != nullptr) testo = errore;
    if (testo.empty()) {
        campo.setText(rules::FormattaData(*emissione));
        return true;
    }
    Rifiuta(campo, testo, memorizzando);
    return false;
}

bool frmConfigVD::ControllaChiusura(bool memorizzando) {
    ui::Control& campo = control("txtDatChiusura");
    if (campo.text().empty()) return true;
    const auto chiusura = rules::LeggiData(campo.text());
    std::string errore;
    if (!chiusura) {
        errore = kDataNonValida;
    } else if (chiusura->year != AnnoBando()) {
        errore = "L'anno della data di chiusura deve essere il " +
                 rules::TestoParametro(rules::Parametro::AnnoBando) + " ! ";
    } else {
        const std::string& altra = control("txtDatEmissione").text();
        const auto emissione = rules::LeggiData(altra);
        if (!altra.empty() && emissione && *emissione >= *chiusura) {
            errore = "La data di chiusura deve essere superiore a quella di emissione ! ";
        }
    }
    if (errore.empty()) {
        campo.setText(rules::FormattaData(*chiusura));
        return true;
    }
    Rifiuta(campo, errore, memorizzando);
    return false;
}

void frmConfigVD::Rifiuta(ui::Control& campo, const std::string& testo, bool memorizzando) {
    // The storing stops quietly on a date whose own check has just said what is wrong.
    if (rifiuto_.daDire(campo, memorizzando)) message(testo);
    setFocus(campo);
}

void frmConfigVD::txtDatEmissione_Leave() {
    ControllaEmissione(false);
}

void frmConfigVD::txtDatChiusura_Leave() {
    ControllaChiusura(false);
}

void frmConfigVD::cmdAvvisoPwd_Click() {
    message(
        "Inserire un nome utente.\r"
        "Poi inserire una password di attivazione per la procedura "
        "e ripeterla per conferma nel campo sottostante.\r"
        "Tenere presente che questi dati verranno richiesti ad ogni successivo accesso alla "
        "procedura.\r"
        "Memorizzarli o annotarli in maniera opportuna!",
        ui::Buttons::OK, ui::Icon::Information);
}

void frmConfigVD::avviso(const std::string& text, ui::Control& focus) {
    message(text, ui::Buttons::OK, ui::Icon::Exclamation);
    setFocus(focus);
}

void frmConfigVD::cmdInserimento_Click() {
    auto& txtCodComune = control("txtCodComune");
    auto& txtPuntoLavoro = control("txtPuntoLavoro");
    auto& txtDatEmissione = control("txtDatEmissione");
    auto& txtDatChiusura = control("txtDatChiusura");
    auto& txtUtente = control("txtUtente");
    auto& txtPwd = control("txtPwd");
    auto& txtPwdConf = control("txtPwdConf");
    const auto lunghezza = [](const ui::Control& c) { return store::utf8Length(c.text()); };

    if (txtCodComune.text().empty())
        return avviso("Indicare un comune valido", control("cmbComune"));
    if (lunghezza(txtPuntoLavoro) < 2) {
        return avviso("Codificare il punto di lavoro con 2 caratteri alfabetici.", txtPuntoLavoro);
    }
    if (txtDatEmissione.text().empty()) {
        return avviso("Valorizzare la data di emissione bando", txtDatEmissione);
    }
    if (txtDatChiusura.text().empty()) {
        return avviso("Valorizzare la data di chiusura bando", txtDatChiusura);
    }
    // A date refused on leaving its field keeps the focus there, but a click still arrives:
    // a wrong date is never stored.
    if (!ControllaEmissione(true) || !ControllaChiusura(true)) return;
    if (txtUtente.text().empty()) {
        return avviso("Valorizzare il nome utente per la procedura", txtUtente);
    }
    if (lunghezza(txtUtente) < 8) {
        return avviso("Inserire un nome utente di almeno 8 caratteri!", txtUtente);
    }
    if (txtPwd.text().empty()) return avviso("Valorizzare la password di procedura", txtPwd);
    if (lunghezza(txtPwd) < 8)
        return avviso("Inserire una password di almeno 8 caratteri!", txtPwd);
    if (txtPwd.text() == txtUtente.text()) {
        return avviso("La password non può essere uguale al nome utente!", txtPwd);
    }
    if (txtPwdConf.text().empty()) {
        return avviso("Valorizzare la password di conferma", txtPwdConf);
    }
    if (txtPwd.text() != txtPwdConf.text()) {
        return avviso("La password di conferma è diversa. Reinserirle entrambe!", txtPwd);
    }

    ScriviConfigurazione(
        db_, {txtCodComune.text(), txtPuntoLavoro.text(), *rules::LeggiData(txtDatEmissione.text()),
              *rules::LeggiData(txtDatChiusura.text()), txtUtente.text(), txtPwd.text()});
    message("Punto di lavoro configurato correttamente.", ui::Buttons::OK, ui::Icon::Information,
            "Operazione eseguita");
    program().show("frmInizio");
    program().close(*this);
}

}  // namespace startup
