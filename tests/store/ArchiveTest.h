#pragma once
// A fresh archive in a temporary folder of its own, removed after each test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PrintValue.h"
#include "store/Database.h"
#include "support/Cartella.h"

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { db_ = store::Database::create(pathOf("Vendral2005.mdb")); }
    void TearDown() override { db_.close(); }

    std::string pathOf(const std::string& name) const { return (dir_ / name).string(); }

    void addDomanda(const std::string& number, const store::Value& surname,
                    const store::Value& name = {}, const store::Value& flagOk = {},
                    const store::Value& requested = {}) {
        db_.execute(
            "INSERT INTO Domanda (NumRepertorio, CognomeRich, NomeRich, FlagDomandaOK, "
            "ContribRichiesto, ComuneRich) VALUES (?, ?, ?, ?, ?, 'A00101')",
            {number, surname, name, flagOk, requested});
    }

    supporto::CartellaTemporanea cartella_{"vdstore"};
    const std::filesystem::path& dir_ = cartella_.percorso();
    store::Database db_;
};
