#include "admin/FileSicuri.h"

#include "store/Database.h"
#include "store/DbError.h"
#include "ui/Ports.h"

namespace admin {

namespace {

constexpr const char* kSource = "Verifica";
constexpr int kErrCorrupt = 11;  // the engine's number for a damaged database
constexpr int kErrIO = 57;

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
    if (primo != "ok") throw store::DbError(kErrCorrupt, "Archivio danneggiato: " + primo, kSource);
    if (attesi && ContaRighe(db) != *attesi) {
        throw store::DbError(kErrCorrupt, "La copia non contiene le stesse righe dell'archivio",
                             kSource);
    }
}

std::string NomeTemporaneo(const std::string& target) {
    return target + ".parziale";
}

void SostituisciFile(ui::FilePort& files, const std::string& from, const std::string& to,
                     const Conteggi* attesi) {
    const std::string temporaneo = NomeTemporaneo(to);
    try {
        files.copy(from, temporaneo);
        files.flush(temporaneo);
        VerificaArchivio(temporaneo, attesi);
        files.rename(temporaneo, to);
    } catch (...) {
        try {
            if (files.exists(temporaneo)) files.remove(temporaneo);
        } catch (const std::exception&) {
            // The failure worth reporting is the first one; a stray partial file harms nobody.
        }
        throw;
    }
}

int NumeroErrore(const std::exception& e) {
    const auto* db = dynamic_cast<const store::DbError*>(&e);
    return db ? db->number() : kErrIO;
}

}  // namespace admin
