#include "admin/FileSicuri.h"

#include <filesystem>

#include "startup/ModuloVD2005.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "ui/Ports.h"

namespace admin {

namespace {

constexpr const char* kSource = "Verifica";
constexpr int kErrCorrupt = 11;  // the engine's number for a damaged database
constexpr int kErrFull = 13;     // the engine's number for a full disk

// The temporary file and the journal the engine may have left beside it.
void RimuoviTemporaneo(ui::FilePort& files, const std::string& temporaneo) {
    for (const std::string& nome : {temporaneo, temporaneo + "-journal"}) {
        try {
            if (files.exists(nome)) files.remove(nome);
        } catch (const std::exception&) {
            // The failure worth reporting is the first one; the next start removes it.
        }
    }
}

std::string Cartella(const std::string& path) {
    const std::string cartella = std::filesystem::path(path).parent_path().string();
    return cartella.empty() ? "." : cartella;
}

}  // namespace

Conteggi ContaRighe(store::Database& db) {
    Conteggi conteggi;
    const store::QueryResult tabelle =
        db.query("select name from sqlite_master where type='table' and name not like 'sqlite_%'");
    for (const auto& riga : tabelle.rows) {
        const std::string nome = riga[0].toText();
        conteggi[nome] = db.query("select count(*) from " + nome).rows[0][0].toInt();
    }
    return conteggi;
}

void VerificaArchivio(const std::string& path, const Conteggi* attesi) {
    store::Database db = store::Database::open(path);
    const store::QueryResult esito = db.query("PRAGMA integrity_check");
    const std::string primo = esito.rows.empty() ? "" : esito.rows[0][0].toText();
    if (primo != "ok") throw store::DbError(kErrCorrupt, "archivio danneggiato", kSource, primo);
    if (attesi && ContaRighe(db) != *attesi) {
        throw store::DbError(kErrCorrupt, "la copia non contiene le stesse righe dell'archivio",
                             kSource);
    }
}

void ScriviFile(ui::FilePort& files, const std::string& target,
                const std::function<void(const std::string&)>& scrivi, const Conteggi* attesi) {
    const std::string temporaneo = startup::NomeTemporaneo(target);
    try {
        RimuoviTemporaneo(files, temporaneo);
        scrivi(temporaneo);
        VerificaArchivio(temporaneo, attesi);
        files.flush(temporaneo);
        files.rename(temporaneo, target);
        files.flushFolder(Cartella(target));
    } catch (...) {
        RimuoviTemporaneo(files, temporaneo);
        throw;
    }
}

void CopiaArchivio(ui::FilePort& files, const std::string& from, const std::string& to,
                   const Conteggi* attesi) {
    ScriviFile(
        files, to, [&](const std::string& temporaneo) { files.copyArchive(from, temporaneo); },
        attesi);
}

Motivo MotivoErrore(const std::exception& e) {
    if (const auto* f = dynamic_cast<const ui::FileError*>(&e)) return {f->number(), f->what()};
    if (const auto* db = dynamic_cast<const store::DbError*>(&e)) {
        if (db->number() == kErrFull) {
            const ui::FileError pieno = ui::DiscoPieno();
            return {pieno.number(), pieno.what()};
        }
        return {db->number(), db->description()};
    }
    return {ui::kErrIO, e.what()};
}

}  // namespace admin
