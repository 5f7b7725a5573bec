#include "search/frmRicercaVD.h"

#include <iterator>
#include <string>

#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "store/Database.h"
#include "store/Text.h"
#include "ui/Program.h"

namespace search {

namespace {

enum class Formato { ComeMemorizzato, SiNo, Importo };

struct Colonna {
    const char* intestazione;
    const char* campo;  // of qryFormRicerca
    Formato formato;
};

constexpr Colonna kColonne[] = {
    {"Repertorio", "NumRepertorio", Formato::ComeMemorizzato},
    {"Cognome", "CognomeRich", Formato::ComeMemorizzato},
    {"Nome", "NomeRich", Formato::ComeMemorizzato},
    {"Codice Fiscale", "CodFiscRich", Formato::ComeMemorizzato},
    {"Domanda Ammissibile", "FlagDomandaOK", Formato::SiNo},
    {"Canone Corrisposto (Euro)", "CanoneTotaleEur", Formato::Importo},
    {"Reddito Accesso (Euro)", "RedditoAccessoEur", Formato::Importo},
    {"Contributo Richiesto (Euro)", "ContribRichiesto", Formato::Importo},
    {"Contributo Concesso (Euro)", "ContribConcesso", Formato::Importo},
    {"Co-Finanziam.        Comune      (Euro)", "CoFinanzComune", Formato::Importo},
    {"Contributo Erogabile (Euro)", "ContribComplessivo", Formato::Importo},
};
constexpr int kNumColonne = static_cast<int>(std::size(kColonne));

// Deletes an application and its household rows on a connection of its own: the household rows
// first, and both or neither.
void EliminaDaArchivio(const std::string& archivio, const std::string& numero) {
    store::Database dbArchivio = store::Database::open(archivio);
    store::Transaction tx(dbArchivio);
    dbArchivio.execute("Delete from NucleoFam where NumRepertorio=?", {numero});
    dbArchivio.execute("Delete from Domanda where NumRepertorio=?", {numero});
    tx.commit();
}

// The grid grdSchede1: the listed rows of datDomanda, each cell formatted when it is shown.
class GrigliaDomande : public ui::GridModel {
public:
    explicit GrigliaDomande(std::shared_ptr<const ElencoDomande> elenco)
        : elenco_(std::move(elenco)) {}

    int rowCount() const override { return elenco_->recordCount(); }
    int columnCount() const override { return kNumColonne; }
    std::string header(int column) const override { return kColonne[column].intestazione; }
    bool rightAligned(int column) const override {
        return kColonne[column].formato == Formato::Importo;
    }

    std::string cell(int row, int column) const override {
        const Colonna& c = kColonne[column];
        const store::Value v = elenco_->field(row, c.campo);
        // A null field shows an empty cell, whatever the format.
        if (v.isNull()) return "";
        switch (c.formato) {
            case Formato::SiNo:
                return v.toText() == "1" ? "Sì" : "No";
            case Formato::Importo:
                return rules::Euro(v.toDouble());
            case Formato::ComeMemorizzato:
                break;
        }
        return v.toText();
    }

private:
    std::shared_ptr<const ElencoDomande> elenco_;
};

}  // namespace

frmRicercaVD::frmRicercaVD(ui::Program& program, startup::ModuloVD2005& modulo)
    : ui::Screen(program, "frmRicercaVD", "Ricerca domande"), modulo_(modulo) {
    auto etichetta = [this](const char* name, const char* caption, ui::Control* frame) {
        ui::Control& c = add(ui::Kind::Label, name);
        c.setCaption(caption);
        c.container = frame;
    };
    auto contatore = [this](const char* name) {
        ui::Control& c = add(ui::Kind::TextBox, name);
        c.setLocked(true);
        c.maxLength = 6;
        c.tabStop = false;
    };
    auto pulsante = [this](const char* name, const char* caption) -> ui::Control& {
        ui::Control& c = add(ui::Kind::Button, name);
        c.setCaption(caption);
        return c;
    };

    ui::Control& frameFiltro = add(ui::Kind::Frame, "frameFiltro");
    frameFiltro.setCaption("Filtro sulla tabella");
    etichetta("lblFiltroCognome", "Cognome richiedente :", &frameFiltro);
    ui::Control& txtFiltroCognome = add(ui::Kind::TextBox, "txtFiltroCognome");
    txtFiltroCognome.container = &frameFiltro;
    txtFiltroCognome.onChange = [this] { Filtra(); };

    etichetta("lblNumRecTot", "Numero totale domande in archivio :", nullptr);
    contatore("txtNumRecTot");
    etichetta("lblNumRecFiltro", "Numero domande filtrate :", nullptr);
    contatore("txtNumRecFiltro");

    ui::Control& grdSchede1 = add(ui::Kind::Grid, "grdSchede1");
    grdSchede1.setCaption("Elenco Domande");
    grdSchede1.onDblClick = [this] { ApriDomanda(); };

    pulsante("cmdModifica", "&Modifica Domanda").onClick = [this] { ApriDomanda(); };
    pulsante("cmdElimina", "&Elimina").onClick = [this] { EliminaDomanda(); };
    pulsante("cmdUscita", "&Uscita").onClick = [this] { this->program().close(*this); };
}

void frmRicercaVD::onLoad() {
    // The data source reads its list as the screen loads, before the first activation counts it.
    datDomanda_ = std::make_shared<ElencoDomande>(modulo_.paths.archive());
    datDomanda_->requery();
    control("grdSchede1").setGridModel(std::make_shared<GrigliaDomande>(datDomanda_));
    primaAttivazione_ = true;
}

void frmRicercaVD::onActivate() {
    if (primaAttivazione_) {
        numRecTot_ = datDomanda_->recordCount();
        control("txtNumRecTot").setText(std::to_string(numRecTot_));
        primaAttivazione_ = false;
    }
    // Lists the changes made in the application form, with the filter still in force.
    AggiornaElenco();
}

void frmRicercaVD::AggiornaElenco() {
    datDomanda_->requery();
    ui::Control& grid = control("grdSchede1");
    grid.gridChanged();
    grid.setCurrentRow(datDomanda_->recordCount() > 0 ? 0 : -1);
    control("txtNumRecFiltro").setText(std::to_string(datDomanda_->recordCount()));
}

void frmRicercaVD::Filtra() {
    ui::Control& txtFiltroCognome = control("txtFiltroCognome");
    const std::string maiuscolo = store::utf8Upper(txtFiltroCognome.text());
    if (maiuscolo != txtFiltroCognome.text()) {
        // The new text fires this change again, which filters.
        txtFiltroCognome.setText(maiuscolo);
        return;
    }
    datDomanda_->setFiltro(maiuscolo);
    AggiornaElenco();
}

int frmRicercaVD::RigaScelta() {
    const int riga = control("grdSchede1").currentRow();
    if (riga < 0) message("Non è stata selezionata nessuna domanda.");
    return riga;
}

void frmRicercaVD::ApriDomanda() {
    const int riga = RigaScelta();
    if (riga < 0) return;
    // When the form closes, this screen is activated again and lists the changes.
    if (modulo_.ApriDomanda) modulo_.ApriDomanda(control("grdSchede1").gridModel()->cell(riga, 0));
}

void frmRicercaVD::EliminaDomanda() {
    const int riga = RigaScelta();
    if (riga < 0) return;
    const ui::GridModel& griglia = *control("grdSchede1").gridModel();
    const std::string numero = griglia.cell(riga, 0);
    const ui::Answer risposta = message(
        "Confermi l'eliminazione della domanda di " + griglia.cell(riga, 1) + " " +
            griglia.cell(riga, 2) + "\r\n" + " con il Numero repertorio " + " " + numero + " ?",
        ui::Buttons::YesNo, ui::Icon::None, "Attenzione", ui::Answer::Yes);
    if (risposta != ui::Answer::Yes) return;
    EliminaDaArchivio(modulo_.paths.archive(), numero);
    AggiornaElenco();
    numRecTot_ -= 1;
    control("txtNumRecTot").setText(std::to_string(numRecTot_));
}

}  // namespace search
