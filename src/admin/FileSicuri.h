#pragma once
// Whole-or-absent file replacement: a copy is written beside its target under a temporary name,
// flushed to disk and checked as an archive before it takes the target's name, so the target
// is either the old file or the complete new one.
#include <cstdint>
#include <exception>
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

// The temporary name beside the target under which its new content is written.
std::string NomeTemporaneo(const std::string& target);

// Copies `from` over `to` through the file port: copy to the temporary name, flush, verify,
// rename. On failure the temporary file is removed, `to` is left as it was and the error is
// thrown again.
void SostituisciFile(ui::FilePort& files, const std::string& from, const std::string& to,
                     const Conteggi* attesi = nullptr);

// The number an error shows in messages: the engine's number for its own failures, 57 (device
// input/output error) for a failed file operation.
int NumeroErrore(const std::exception& e);

}  // namespace admin
