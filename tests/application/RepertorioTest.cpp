#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "application/Repertorio.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "support/Cartella.h"

namespace {

class Repertorio : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = store::Database::create((dir_ / "Vendral2005.mdb").string());
        db_.execute(
            "INSERT INTO Configurazione (CodComune, Punto_lavoro, Progressivo_domande) "
            "VALUES ('A00101', 'AB', 0)");
    }
    void TearDown() override { db_.close(); }

    std::optional<std::string> assegna() {
        store::RowSource datMax(db_, "");
        store::RowSource datConfig(db_, "Configurazione");
        datConfig.moveFirst();
        return application::AssegnaNumeroRepertorio(datMax, datConfig);
    }
    std::int64_t progressivoMemorizzato() {
        return db_.query("SELECT Progressivo_domande FROM Configurazione").rows[0][0].toInt();
    }

    supporto::CartellaTemporanea cartella_{"vdapp"};
    const std::filesystem::path& dir_ = cartella_.percorso();
    store::Database db_;
};

TEST_F(Repertorio, NextProgressiveIsTheNumericMaximumOfTheMunicipalityPlusOne) {
    struct Caso {
        const char* what;
        std::vector<std::string> stored;
        const char* expected;
    };
    const Caso casi[] = {
        {"first application", {}, "A001012005AB1"},
        {"numeric, not text order", {"A001012005AB9", "A001012005AB10"}, "A001012005AB11"},
        {"not beginning with a digit counts 0", {"A001012005ABX7"}, "A001012005AB1"},
        {"leading digits count", {"A001012005AB12B", "A001012005AB3"}, "A001012005AB13"},
        {"workstations share the sequence", {"A001012005CD5", "A001012005AB2"}, "A001012005AB6"},
        {"other municipalities do not count", {"A001022005AB40"}, "A001012005AB1"},
        {"below the limit", {"A001012005AB32766"}, "A001012005AB32767"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.what);
        db_.execute("DELETE FROM Domanda");
        for (const auto& n : c.stored) {
            db_.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES (?, 'X')", {n});
        }
        const auto numero = assegna();
        ASSERT_TRUE(numero.has_value());
        EXPECT_EQ(*numero, c.expected);
        EXPECT_EQ(progressivoMemorizzato(), std::stoll(std::string(c.expected).substr(12)));
    }
}

}  // namespace
