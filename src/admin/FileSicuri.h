#pragma once
// Whole-or-absent files: a new file is written beside its target under a temporary name,
// checked as an archive, written through to the disk and only then given the target's name
// (the folder written through too), so the target is either the old file or the complete,
// verified new one. Archives are always read through the engine, never copied as files.
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <string>

namespace store {
class Database;
}

namespace ui {
class FilePort;
}

namespace admin {

// Rows of each table of an archive, by table name.
using Conteggi = std::map<std::string, std::int64_t>;

Conteggi ContaRighe(store::Database& db);

// Opens the file with the archive password and runs the engine's integrity check; when counts
// are given, the file must hold exactly those rows. Throws store::DbError otherwise.
void VerificaArchivio(const std::string& path, const Conteggi* attesi = nullptr);

// Writes `target` anew: `scrivi` makes the file at the temporary name it is given, which is
// then verified (against `attesi`, read only once `scrivi` has returned), flushed and renamed.
// On failure the temporary file is removed, `target` is left as it was and the error is thrown
// again.
void ScriviFile(ui::FilePort& files, const std::string& target,
                const std::function<void(const std::string&)>& scrivi,
                const Conteggi* attesi = nullptr);

// A copy of the archive `from` written as `to` that way.
void CopiaArchivio(ui::FilePort& files, const std::string& from, const std::string& to,
                   const Conteggi* attesi = nullptr);

// What the operator reads of a failed maintenance step: the number and the reason. A full disk
// reads "Spazio su disco insufficiente" whether the engine or the system found it.
struct Motivo {
    int numero;
    std::string testo;
};
Motivo MotivoErrore(const std::exception& e);

}  // namespace admin
