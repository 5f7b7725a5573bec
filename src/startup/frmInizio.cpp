#include "startup/frmInizio.h"

#include "rules/Date.h"
#include "rules/Numeri.h"
#include "startup/ModuloVD2005.h"
#include "store/DbError.h"
#include "ui/Program.h"

namespace startup {

frmInizio::frmInizio(ui::Program& program, ModuloVD2005& modulo)
    : ui::Screen(program, "frmInizio", "Vendral 2005 - Selezione attività"), modulo_(modulo) {
    auto button = [this](const char* name, const char* caption) -> ui::Control& {
        ui::Control& c = add(ui::Kind::Button, name);
        c.setCaption(caption);
        return c;
    };
    auto& cmdInserimento = button("cmdInserimento", "&Inserimento Domande");
    auto& cmdRicerca = button("cmdRicerca", "&Ricerca Domande");
    auto& cmdStampe = button("cmdStampe", "&Stampe");
    auto& cmdStatistiche = button("cmdStatistiche", "S&tatistiche");
    auto& cmdSalvaArchivi = button("cmdSalvaArchivi", "Salvataggio &Archivi");
    auto& cmdEstrazione = button("cmdEstrazione", "&Estrazione Dati Statistici per Regione");
    auto& cmdUscita = button("cmdUscita", "&Uscita");

    for (const char* name : {"txtComune", "txtPuntoLavoro", "txtDataIniBando", "txtDataFineBando",
                             "txtImpoConcesso", "txtPercConcessa", "txtCoFinanz"}) {
        ui::Control& c = add(ui::Kind::TextBox, name);
        c.setLocked(true);
        c.tabStop = false;
    }
    for (const char* name : {"txtImpoConcesso", "txtPercConcessa", "txtCoFinanz"}) {
        control(name).rightAligned = true;
    }

    auto menu = [this](const char* name, const char* caption) -> ui::Control& {
        ui::Control& c = add(ui::Kind::MenuItem, name);
        c.setCaption(caption);
        return c;
    };
    menu("mnuGest", "&Gestione");
    auto& mnuInserimento = menu("mnuInserimento", "&Inserimento Domande");
    auto& mnuRicerca = menu("mnuRicerca", "&Ricerca Domande");
    auto& mnuStampe = menu("mnuStampe", "&Stampe");
    auto& mnuStatistiche = menu("mnuStatistiche", "S&tatistiche");
    auto& mnuSalvataggio = menu("mnuSalvataggio", "Salvataggio &Archivi");
    auto& mnuEstrazione = menu("mnuEstrazione", "&Estrazione Dati Statistici per Regione");
    auto& mnuUscita = menu("mnuUscita", "&Uscita");
    menu("mnuUtil", "&Utilità");
    auto& mnuPulizia = menu("mnuPulizia", "&Pulizia Archivi");
    auto& mnuCompress = menu("mnuCompress", "&Compressione Archivi");
    auto& mnuModificaData = menu("mnuModificaData", "&Modifica Data Chiusura Bando");
    auto& mnuCoFinanz = menu("mnuCoFinanz", "&Registrazione Co-Finanziamento");
    auto& mnuContributoConc = menu("mnuContributoConc", "&Aggiornamento Fabbisogno Assegnato");

    // Activities built later are disabled until the program has them.
    const ui::Program& p = program;
    comando(cmdInserimento, mnuInserimento, static_cast<bool>(modulo_.ApriDomanda),
            [this] { modulo_.ApriDomanda(std::nullopt); });
    comando(cmdRicerca, mnuRicerca, p.hasScreen("frmRicercaVD"), [this] { apri("frmRicercaVD"); });
    comando(cmdStampe, mnuStampe, p.hasScreen("frmStampeVD"), [this] { apri("frmStampeVD"); });
    comando(cmdStatistiche, mnuStatistiche, p.hasActivity("Statistiche"),
            [this] { this->program().runActivity("Statistiche"); });
    comando(cmdSalvaArchivi, mnuSalvataggio, p.hasActivity("SalvataggioArchivi"),
            [this] { this->program().runActivity("SalvataggioArchivi"); });
    comando(cmdEstrazione, mnuEstrazione, p.hasActivity("Estrazione"),
            [this] { this->program().runActivity("Estrazione"); });
    comando(cmdUscita, mnuUscita, true, [this] { this->program().close(*this); });
    voceUtilita(mnuPulizia, p.hasActivity("PuliziaArchivi"),
                [this] { this->program().runActivity("PuliziaArchivi"); });
    voceUtilita(mnuCompress, p.hasActivity("CompressioneArchivi"),
                [this] { this->program().runActivity("CompressioneArchivi"); });
    voceUtilita(mnuModificaData, p.hasScreen("frmDataChiusura"),
                [this] { apri("frmDataChiusura"); });
    voceUtilita(mnuCoFinanz, p.hasScreen("frmCoFinanz"), [this] { apri("frmCoFinanz"); });
    voceUtilita(mnuContributoConc, p.hasScreen("frmContributoConc"),
                [this] { apri("frmContributoConc"); });
}

void frmInizio::comando(ui::Control& button, ui::Control& menu, bool available,
                        std::function<void()> run) {
    button.setEnabled(available);
    menu.setEnabled(available);
    button.onClick = run;
    menu.onClick = std::move(run);
}

void frmInizio::voceUtilita(ui::Control& menu, bool available, std::function<void()> run) {
    menu.setEnabled(available);
    menu.onClick = std::move(run);
}

void frmInizio::apri(const std::string& screen) {
    program().show(screen, true);
}

void frmInizio::apriDati() {
    if (db_.isOpen()) return;
    db_ = store::Database::open(modulo_.paths.archive());
    datConfig_ = std::make_unique<store::RowSource>(db_, "Configurazione");
    datComuni_ = std::make_unique<store::RowSource>(db_, "ComuniValdoria");
    datDomanda_ = std::make_unique<store::RowSource>(db_, "qryStatistiche");
}

void frmInizio::onActivate() {
    try {
        apriDati();
        datConfig_->requery();
        datConfig_->moveFirst();
        auto testo = [this](const char* field) { return datConfig_->field(field).toText(); };
        control("txtPuntoLavoro").setText(testo("Punto_lavoro"));
        control("txtDataIniBando")
            .setText(rules::FormattaDataMemorizzata(testo("Data_emis_bando")));
        control("txtDataFineBando")
            .setText(rules::FormattaDataMemorizzata(testo("Data_chius_bando")));
        control("txtImpoConcesso")
            .setText(rules::Euro(datConfig_->field("ImpoContribConc").toDouble()));
        control("txtPercConcessa")
            .setText(rules::Formato(datConfig_->field("PercContribConc").toDouble(),
                                    rules::kFormatoSeiDecimali));
        control("txtCoFinanz").setText(rules::Euro(datConfig_->field("ImpoCoFinanz").toDouble()));
        datComuni_->requery();
        const bool trovato = datComuni_->findFirst("CodComune=?", {testo("CodComune")});
        control("txtComune").setText(trovato ? datComuni_->field("Descrizione").toText() : "");
        datDomanda_->requery();
    } catch (const store::DbError& e) {
        problemiOperazione(e.description(), e.number());
    }
}

void frmInizio::DisconnettiDB() {
    datComuni_.reset();
    datConfig_.reset();
    datDomanda_.reset();
    db_.close();
}

void frmInizio::RiconnettiDB() {
    apriDati();
    datComuni_->requery();
    datConfig_->requery();
    datDomanda_->requery();
}

void frmInizio::onUnload() {
    DisconnettiDB();
}

}  // namespace startup
