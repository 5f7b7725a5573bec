// The operator reads system failures of file operations in Italian, with the number of the
// failure; a full disk says so.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "ui/Ports.h"

namespace {

TEST(ErroreDiSistema, ReadsTheSystemsFailureInItalian) {
    const struct {
        int err;
        int numero;
        std::string motivo;
    } casi[] = {
        {ENOSPC, 61, "Spazio su disco insufficiente"},
        {EDQUOT, 61, "Spazio su disco insufficiente"},
        {EIO, 57, "Errore di input/output"},
        {ENOENT, 53, "File o cartella non trovati"},
        {EACCES, 70, "Permesso negato"},
        {EROFS, 70, "Disco protetto da scrittura"},
        {ENODEV, 71, "Disco non pronto"},
        {EXDEV, 75, "Errore di accesso al percorso o al file"},
        {ENOMEM, 57, "Errore di input/output"},
    };
    for (const auto& c : casi) {
        const ui::FileError e = ui::ErroreDiSistema({c.err, std::system_category()});
        EXPECT_EQ(e.number(), c.numero) << c.err;
        EXPECT_EQ(std::string(e.what()), c.motivo) << c.err;
    }
}

TEST(ErroreDiSistema, FlushingAMissingFolderFailsInItalian) {
    struct Files : ui::FilePort {
        bool exists(const std::string&) override { return false; }
        void rename(const std::string&, const std::string&) override {}
        void remove(const std::string&) override {}
        bool ready(const std::string&) override { return false; }
        std::string mediaFolder() override { return {}; }
    } files;
    try {
        files.flushFolder("/nessuna/cartella/così");
        ADD_FAILURE() << "no error";
    } catch (const ui::FileError& e) {
        EXPECT_EQ(e.number(), 53);
    }
}

}  // namespace
