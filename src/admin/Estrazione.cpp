#include "admin/Estrazione.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "admin/FileSicuri.h"
#include "admin/Manutenzione.h"
#include "startup/ModuloVD2005.h"
#include "startup/frmInizio.h"
#include "store/Database.h"
#include "ui/Program.h"

namespace admin {

namespace {

// The destination is missing or refuses writes: the drive is "not ready".
struct DiscoNonPronto : std::runtime_error {
    DiscoNonPronto() : std::runtime_error("Disco non pronto") {}
};

std::string LeggiCodComune(const startup::Paths& paths) {
    store::Database dbArchivio = store::Database::open(paths.archive());
    const store::QueryResult r = dbArchivio.query("select CodComune from Configurazione");
    return r.rows.empty() ? "" : r.rows[0][0].toText();
}

// One attempt at writing the archive onto the media.
void CopiaSuSupporto(ui::FilePort& files, const std::string& archivio, const std::string& cartella,
                     const std::string& nome) {
    if (!files.ready(cartella)) throw DiscoNonPronto();
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(archivio, ec);
    if (!files.hasRoom(cartella, bytes)) throw ui::DiscoPieno();
    try {
        CopiaArchivio(files, archivio, cartella + "/" + nome);
    } catch (const std::exception&) {
        // A medium taken out or protected during the copy is not ready either.
        if (!files.ready(cartella)) throw DiscoNonPronto();
        throw;
    }
}

std::string TestoErrore(const std::exception& e) {
    if (dynamic_cast<const DiscoNonPronto*>(&e)) {
        return "Disco non pronto.\r\nAssicurarsi di aver inserito il floppy nel drive A:\r\n"
               "e che non sia protetto da scrittura.";
    }
    const Motivo motivo = MotivoErrore(e);
    return motivo.testo + "\r\nCod. err. = " + ui::NumeroConSegno(motivo.numero);
}

}  // namespace

std::string NomeEstrazione(const std::string& codComune) {
    return "Vendral2005_" + codComune + ".mdb";
}

void Estrazione(startup::ModuloVD2005& modulo) {
    startup::frmInizio& menu = MenuPrincipale(modulo);
    ui::Ports& ports = modulo.program.ports();
    const std::string codComune = LeggiCodComune(modulo.paths);
    menu.DisconnettiDB();
    menu.message("Inserire un dischetto formattato nel drive A:  \nper la copia del file  ");
    // A failed compaction has said so; the archive, unchanged, is copied all the same.
    CompattaDB(modulo);
    for (;;) {
        try {
            // The folder is chosen (with a dialog, the first time) before the copy starts.
            const std::string cartella = ports.files->chooseMediaFolder();
            ports.busy->run("Copia dell'archivio sul supporto in corso...", [&] {
                CopiaSuSupporto(*ports.files, modulo.paths.archive(), cartella,
                                NomeEstrazione(codComune));
            });
            break;
        } catch (const std::exception& e) {
            if (menu.message(TestoErrore(e), ui::Buttons::OKCancel) == ui::Answer::Cancel) {
                menu.RiconnettiDB();
                return;
            }
        }
    }
    menu.message("Copia effettuata !\nLa procedura ha copiato sul floppy il file Vendral2005_" +
                     codComune +
                     ".MDB \nQuesto è un archivio cifrato (SQLite/SQLCipher) che contiene "
                     "l'archivio dati\nper l'invio in Regione. \nUna volta verificata la "
                     "presenza del file sul floppy, non è \nnecessario nessun altro controllo "
                     "sui dati contenuti.",
                 ui::Buttons::OK, ui::Icon::Information);
    menu.RiconnettiDB();
}

}  // namespace admin
