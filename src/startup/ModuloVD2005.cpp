#include "startup/ModuloVD2005.h"

#include <filesystem>

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

std::string NomeTemporaneo(const std::string& target) {
    return target + ".parziale";
}

ModuloVD2005::ModuloVD2005(ui::Program& program, Paths paths)
    : program(program), paths(std::move(paths)) {}

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

int FiltraNumeri(int key) {
    return (key >= '0' && key <= '9') || key == 8 ? key : 0;
}

}  // namespace startup
