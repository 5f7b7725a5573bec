#include "startup/ModuloVD2005.h"

#include <filesystem>
#include <vector>

#include "startup/BloccoArchivio.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/RowSource.h"
#include "ui/Ports.h"
#include "ui/Program.h"

namespace startup {

std::string Paths::basePath() const {
    return dataDir + "/Vendral2005";
}

std::string Paths::archive() const {
    return basePath() + ".mdb";
}

std::string Paths::compacted() const {
    return basePath() + "_compresso.mdb";
}

std::string Paths::backup(int n) const {
    return basePath() + "_" + std::to_string(n) + ".mdb";
}

std::string Paths::lockFile() const {
    return basePath() + ".lck";
}

std::string NomeTemporaneo(const std::string& target) {
    return target + ".parziale";
}

ModuloVD2005::ModuloVD2005(ui::Program& program, Paths paths)
    : program(program), paths(std::move(paths)) {}

ModuloVD2005::~ModuloVD2005() = default;

ModuloVD2005::Cartella ModuloVD2005::Prepara() {
    try {
        blocco_ = BloccoArchivio::Prendi(paths.lockFile());
    } catch (const ui::FileError& e) {
        program.ports().messages->show(
            {"Attenzione",
             "Impossibile aprire l'archivio dati.\r\n" + paths.archive() + "\r\n" + e.what(),
             ui::Buttons::OK, ui::Icon::None, ui::Answer::OK});
        return Cartella::Errore;
    }
    if (!blocco_) {
        program.ports().messages->show(
            {"Attenzione",
             "L'archivio dati è già in uso da un altro programma Vendral 2005 su questo computer "
             "o in rete.",
             ui::Buttons::OK, ui::Icon::None, ui::Answer::OK});
        return Cartella::InUso;
    }
    RimuoviTemporanei();
    return Cartella::Pronto;
}

void ModuloVD2005::Rilascia() {
    blocco_.reset();
}

void ModuloVD2005::RimuoviTemporanei() {
    std::vector<std::string> temporanei;
    auto aggiungi = [&](const std::string& target) {
        // The engine's journal of a copy cut short goes with it.
        temporanei.push_back(NomeTemporaneo(target));
        temporanei.push_back(NomeTemporaneo(target) + "-journal");
    };
    aggiungi(paths.archive());
    aggiungi(paths.compacted());
    for (int n = 1; n <= kCopieMassime; ++n) aggiungi(paths.backup(n));
    // Extractions onto the removable media: "Vendral2005_" + municipality code + ".mdb".
    ui::FilePort& files = *program.ports().files;
    std::error_code ec;
    const std::filesystem::path media = files.mediaFolder();
    if (!media.empty() && std::filesystem::is_directory(media, ec)) {
        for (const auto& voce : std::filesystem::directory_iterator(media, ec)) {
            const std::string nome = voce.path().filename().string();
            if (nome.starts_with("Vendral2005_") &&
                (nome.ends_with(".mdb.parziale") || nome.ends_with(".mdb.parziale-journal"))) {
                temporanei.push_back(voce.path().string());
            }
        }
    }
    for (const std::string& t : temporanei) {
        try {
            if (files.exists(t)) files.remove(t);
        } catch (const std::exception&) {
            // Left for the next start; a stray temporary file harms nobody.
        }
    }
}

bool ModuloVD2005::EnsureArchive() {
    const std::string archive = paths.archive();
    std::error_code ec;
    if (std::filesystem::exists(archive, ec)) return true;
    const ui::Answer answer = program.ports().messages->show(
        {"Attenzione", "Archivio dati non trovato:\r\n" + archive + "\r\nCreare un nuovo archivio?",
         ui::Buttons::YesNo, ui::Icon::None, ui::Answer::No});
    if (answer != ui::Answer::Yes) return false;
    std::string motivo;
    try {
        std::filesystem::create_directories(paths.dataDir);
        store::Database::create(archive).close();
    } catch (const std::filesystem::filesystem_error& e) {
        motivo = ui::ErroreDiSistema(e.code()).what();
    } catch (const store::DbError& e) {
        motivo = e.description();
    }
    if (!motivo.empty()) {
        program.ports().messages->show(
            {"Attenzione", "Impossibile creare l'archivio dati.\r\n" + archive + "\r\n" + motivo,
             ui::Buttons::OK, ui::Icon::Exclamation, ui::Answer::OK});
        return false;
    }
    return true;
}

void ModuloVD2005::Main() {
    store::Database dbArchivio = store::Database::open(paths.archive());
    store::RowSource rsConfigurazione(dbArchivio, "select  * from Configurazione");
    rsConfigurazione.requery();
    dbArchivio.execute("Delete from Domanda where CognomeRich='' or CognomeRich IS NULL");
    dbArchivio.execute("Delete from NucleoFam where CognomeNome='' or CognomeNome IS NULL");
    const int righe = rsConfigurazione.recordCount();
    dbArchivio.close();
    program.show(righe != 0 ? "frmAccessoVD" : "frmConfigVD");
}

int ModuloVD2005::Start() {
    switch (Prepara()) {
        case Cartella::Pronto:
            break;
        case Cartella::InUso:
            return kEsitoArchivioInUso;
        case Cartella::Errore:
            return 1;
    }
    if (!std::filesystem::exists(paths.archive()) && !EnsureArchive()) return 0;
    try {
        Main();
    } catch (const store::DbError& e) {
        program.ports().messages->show(
            {"Attenzione",
             "Impossibile aprire l'archivio dati.\r\n" + paths.archive() + "\r\n" + e.description(),
             ui::Buttons::OK, ui::Icon::None, ui::Answer::OK});
        return 1;
    }
    return program.ended() ? 0 : -1;
}

}  // namespace startup
