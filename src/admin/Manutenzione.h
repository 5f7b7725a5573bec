#pragma once
// Archive maintenance run from the main menu: cleanup of nameless rows, compaction and
// numbered backup copies beside the archive.
#include <string>

namespace startup {
class ModuloVD2005;
class frmInizio;
}  // namespace startup

namespace ui {
class FilePort;
}

namespace admin {

// The main menu, which runs every maintenance command.
startup::frmInizio& MenuPrincipale(startup::ModuloVD2005& modulo);

// Compacts the archive into the compacted copy (removing a leftover one first), then puts a
// verified copy of it in the archive's place. The compacted copy stays until the next
// compaction. No other connection can write the archive meanwhile, so no save is lost with the
// old file. On failure the archive is as it was, no file has the compacted copy's name and the
// error is thrown.
void Compatta(ui::FilePort& files, const std::string& archivio, const std::string& compresso);

// Compacts with the archive's connections already closed, under the busy pointer; a failure
// is reported to the operator. Returns whether the archive was replaced.
bool CompattaDB(startup::ModuloVD2005& modulo);

// The menu commands.
void PuliziaArchivi(startup::ModuloVD2005& modulo);
void CompressioneArchivi(startup::ModuloVD2005& modulo);
void SalvataggioArchivi(startup::ModuloVD2005& modulo);

}  // namespace admin
