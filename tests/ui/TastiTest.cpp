// The key filters of numeric fields.
#include <gtest/gtest.h>

#include <string>

#include "ui/Tasti.h"

namespace {

TEST(FiltraNumeri, PassesDigitsAndBackspaceOnly) {
    for (int key = 0; key < 256; ++key) {
        const bool passes = (key >= '0' && key <= '9') || key == ui::kTastoBackspace;
        EXPECT_EQ(ui::FiltraNumeri(key), passes ? key : 0) << key;
    }
}

TEST(FiltraNumeriVirgole, LetsOneSeparatorThrough) {
    struct Caso {
        int key;
        const char* testo;
        int passa;
    };
    const Caso casi[] = {
        {'5', "12", '5'},
        {ui::kTastoBackspace, "12,5", ui::kTastoBackspace},
        {',', "12", ','},
        {'.', "", '.'},
        {',', "1.2", 0},
        {'.', "1,2", 0},
        {'-', "", 0},
        {'a', "", 0},
        {' ', "", 0},
        {ui::kTastoInvio, "", 0},
        {ui::kTastoEsc, "", 0},
        {3, "", 0},
        {22, "", 0},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(ui::FiltraNumeriVirgole(c.key, c.testo), c.passa) << c.key << " " << c.testo;
}

}  // namespace
