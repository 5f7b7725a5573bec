#include "admin/Manutenzione.h"

#include <stdexcept>

#include "admin/FileSicuri.h"
#include "startup/ModuloVD2005.h"
#include "startup/frmInizio.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Program.h"

namespace admin {

std::string NomeCompresso(const startup::Paths& paths) {
    return paths.basePath() + "_compresso.mdb";
}

std::string NomeCopia(const startup::Paths& paths, int numero) {
    return paths.basePath() + "_" + std::to_string(numero) + ".mdb";
}

startup::frmInizio& MenuPrincipale(startup::ModuloVD2005& modulo) {
    auto* menu = dynamic_cast<startup::frmInizio*>(modulo.program.loaded("frmInizio"));
    if (menu == nullptr) throw std::logic_error("il menu principale non è aperto");
    return *menu;
}

void Compatta(ui::FilePort& files, const std::string& archivio, const std::string& compresso) {
    if (files.exists(compresso)) files.remove(compresso);
    Conteggi righe;
    {
        store::Database db = store::Database::open(archivio);
        righe = ContaRighe(db);
        files.beforeCompact();
        db.compactInto(compresso);
    }
    // The copy that replaces the archive is checked against the archive's rows; since it is
    // a copy of the compacted file, that check covers the compacted file as well.
    SostituisciFile(files, compresso, archivio, &righe);
}

bool CompattaDB(startup::ModuloVD2005& modulo) {
    ui::Ports& ports = modulo.program.ports();
    try {
        ports.busy->run("Compressione dell'archivio in corso...", [&] {
            Compatta(*ports.files, modulo.paths.archive(), NomeCompresso(modulo.paths));
        });
        return true;
    } catch (const std::exception& e) {
        MenuPrincipale(modulo).problemiOperazione(e.what(), NumeroErrore(e));
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
    for (int n = 1; n <= kCopieMassime; ++n) {
        const std::string copia = NomeCopia(modulo.paths, n);
        if (ports.files->exists(copia)) continue;
        try {
            ports.busy->run("Copia di salvataggio dell'archivio in corso...",
                            [&] { SostituisciFile(*ports.files, modulo.paths.archive(), copia); });
        } catch (const std::exception& e) {
            menu.message("Copia Archivio NON salvata !\r\n" + std::string(e.what()));
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
