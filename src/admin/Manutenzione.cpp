#include "admin/Manutenzione.h"

#include <stdexcept>

#include "admin/FileSicuri.h"
#include "startup/ModuloVD2005.h"
#include "startup/frmInizio.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Program.h"

namespace admin {

startup::frmInizio& MenuPrincipale(startup::ModuloVD2005& modulo) {
    auto* menu = dynamic_cast<startup::frmInizio*>(modulo.program.loaded("frmInizio"));
    if (menu == nullptr) throw std::logic_error("il menu principale non è aperto");
    return *menu;
}

void Compatta(ui::FilePort& files, const std::string& archivio, const std::string& compresso) {
    // From the moment the archive is read until the compacted copy takes its place, no other
    // connection may write it (readers may go on): a save made meanwhile would go with the old
    // file.
    store::Database guardia = store::Database::open(archivio);
    store::Transaction scrittureFerme(guardia);
    if (files.exists(compresso)) files.remove(compresso);
    files.beforeCompact();
    Conteggi righe;
    ScriviFile(
        files, compresso,
        [&](const std::string& temporaneo) {
            files.copyArchive(archivio, temporaneo);
            store::Database copia = store::Database::open(temporaneo);
            righe = ContaRighe(copia);
            copia.compact();
        },
        &righe);
    CopiaArchivio(files, compresso, archivio, &righe);
}

bool CompattaDB(startup::ModuloVD2005& modulo) {
    ui::Ports& ports = modulo.program.ports();
    try {
        ports.busy->run("Compressione dell'archivio in corso...", [&] {
            Compatta(*ports.files, modulo.paths.archive(), modulo.paths.compacted());
        });
        return true;
    } catch (const std::exception& e) {
        const Motivo motivo = MotivoErrore(e);
        MenuPrincipale(modulo).problemiOperazione(motivo.testo, motivo.numero);
        return false;
    }
}

void PuliziaArchivi(startup::ModuloVD2005& modulo) {
    {
        store::Database dbArchivio = store::Database::open(modulo.paths.archive());
        dbArchivio.execute("Delete from Domanda where CognomeRich='' or CognomeRich IS NULL");
        dbArchivio.execute("Delete from NucleoFam where CognomeNome='' or CognomeNome IS NULL");
    }
    startup::frmInizio& menu = MenuPrincipale(modulo);
    if (store::RowSource* datDomanda = menu.datDomanda()) datDomanda->requery();
    menu.message("Pulizia degli archivi effettuata ! \r\nProseguire!", ui::Buttons::OK,
                 ui::Icon::Information);
}

void CompressioneArchivi(startup::ModuloVD2005& modulo) {
    startup::frmInizio& menu = MenuPrincipale(modulo);
    menu.DisconnettiDB();
    const bool compattato = CompattaDB(modulo);
    menu.RiconnettiDB();
    // After a failure its own message is the last word.
    if (compattato) {
        menu.message("Compressione archivi effettuata ! \r\nProseguire!", ui::Buttons::OK,
                     ui::Icon::Information);
    }
}

void SalvataggioArchivi(startup::ModuloVD2005& modulo) {
    startup::frmInizio& menu = MenuPrincipale(modulo);
    ui::Ports& ports = modulo.program.ports();
    menu.DisconnettiDB();
    for (int n = 1; n <= startup::kCopieMassime; ++n) {
        const std::string copia = modulo.paths.backup(n);
        if (ports.files->exists(copia)) continue;
        try {
            ports.busy->run("Copia di salvataggio dell'archivio in corso...",
                            [&] { CopiaArchivio(*ports.files, modulo.paths.archive(), copia); });
        } catch (const std::exception& e) {
            menu.message("Copia Archivio NON salvata !\r\n" + MotivoErrore(e).testo);
            menu.RiconnettiDB();
            return;
        }
        menu.message("Copia Archivio salvata !", ui::Buttons::OK, ui::Icon::Information);
        menu.RiconnettiDB();
        return;
    }
    menu.RiconnettiDB();
    menu.message("Tutte le 99 copie di salvataggio sono già presenti: eliminarne qualcuna.");
}

}  // namespace admin
