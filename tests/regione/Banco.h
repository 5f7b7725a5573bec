#pragma once
// A Region's database for one test, on either engine: an encrypted file in a temporary folder,
// or a new database on the PostgreSQL server named by VENDRAL_TEST_PG (the test fixture's
// throwaway server), dropped afterwards. The commands run in-process with captured output.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Estrazioni.h"

class Banco : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool postgres() const { return GetParam() == "postgres"; }
    std::string file(const std::string& nome) const;  // a path in the test's folder

    struct Esito {
        int stato;
        std::string out;
        std::string err;
    };
    // Runs vendral-regione with the test's database.
    Esito esegui(std::vector<std::string> argomenti, bool terminale = false);
    // An extraction file written into the test's folder.
    std::string estrazione(const std::string& nome, const Estrazione& e);

    std::string cartella_;
    std::string db_;
    std::function<bool()> interrotto_ = [] { return false; };  // the operator's Ctrl-C
    std::string nomePostgres_;
};

std::string LeggiFile(const std::string& percorso);
