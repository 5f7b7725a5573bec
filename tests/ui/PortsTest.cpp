// The operator reads failed file operations in Italian, with their number; a full disk says so.
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
        {EROFS, 70, "Disco protetto da scrittura"},
        {ENOMEM, 57, "Errore di input/output"},
    };
    for (const auto& c : casi) {
        const ui::FileError e = ui::ErroreDiSistema({c.err, std::system_category()});
        EXPECT_EQ(e.number(), c.numero) << c.err;
        EXPECT_EQ(std::string(e.what()), c.motivo) << c.err;
    }
}

}  // namespace
