// What a report object hands to the report engine, and what the operator sees when the engine
// cannot print.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/Report.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Program.h"
#include "ui/Screen.h"

namespace {

class Messaggi : public ui::MessagePort {
public:
    ui::Answer show(const ui::Message& m) override {
        mostrati.push_back(m);
        return ui::Answer::OK;
    }
    std::vector<ui::Message> mostrati;
};

// Records each request, or fails with the given reason.
class Motore : public ui::ReportPort {
public:
    void start(const ui::ReportRequest& r) override {
        if (guasto) throw std::runtime_error(*guasto);
        avviati.push_back(r);
    }
    std::optional<std::string> guasto;
    std::vector<ui::ReportRequest> avviati;
};

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vdrptXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        db_ = store::Database::create((dir_ / "Vendral2005.mdb").string());
        db_.execute(
            "INSERT INTO Domanda (NumRepertorio, CognomeRich, CanoneTotaleEur, NumComponNucleo) "
            "VALUES ('A001012005AB1', 'D''ANGELO', 4800.5, 3), ('A001012005AB2', NULL, NULL, "
            "NULL)");
    }
    void TearDown() override {
        db_.close();
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path dir_;
    store::Database db_;
    Messaggi messaggi_;
    Motore motore_;
    ui::Program program_{ui::Ports{&messaggi_, nullptr, nullptr, &motore_, nullptr}};
    ui::Screen schermata_{program_, "frmProva", "Prova"};
};

TEST_F(ReportTest, DefinitionsWithTheirOwnHeadingGetNoTitle) {
    store::RowSource righe(db_, "qryStampaDomande");
    righe.requery();
    reports::Report crp(schermata_);
    crp.WindowTitle = "Elenco Domande Escluse per Reddito";
    const struct {
        const char* file;
        const char* titolo;
    } casi[] = {
        {"/p/VD_StaDom.rpt", ""},
        {"/p/VD_EleDomDir.rpt", ""},
        {"/p/VD_EleDom.rpt", "Elenco Domande Escluse per Reddito"},
        {"/p/VD_EleDomDirX.rpt", "Elenco Domande Escluse per Reddito"},
    };
    for (const auto& c : casi) {
        crp.ReportFileName = c.file;
        ASSERT_TRUE(crp.Avvia(righe, ""));
        EXPECT_EQ(motore_.avviati.back().title, c.titolo) << c.file;
        // The report object keeps its title for the lists that follow.
        EXPECT_EQ(crp.WindowTitle, "Elenco Domande Escluse per Reddito");
    }
}

TEST_F(ReportTest, FailureIsToldWithTheFileNameAndReason) {
    store::RowSource righe(db_, "qryStampaDomande");
    righe.requery();
    ui::Program senzaMotore{ui::Ports{&messaggi_, nullptr, nullptr, nullptr, nullptr}};
    ui::Screen altra{senzaMotore, "frmProva", "Prova"};
    motore_.guasto = "il file non esiste";
    const struct {
        ui::Screen* schermata;
        const char* testo;
    } casi[] = {
        {&schermata_, "Impossibile stampare il report VD_Ricev.rpt:\r\nil file non esiste"},
        {&altra,
         "Impossibile stampare il report VD_Ricev.rpt:\r\nnessun motore di stampa "
         "disponibile"},
    };
    for (const auto& c : casi) {
        messaggi_.mostrati.clear();
        reports::Report crp(*c.schermata);
        crp.ReportFileName = "/opt/vendral/VD_Ricev.rpt";
        EXPECT_FALSE(crp.Avvia(righe, ""));
        ASSERT_EQ(messaggi_.mostrati.size(), 1u);
        const ui::Message& m = messaggi_.mostrati[0];
        EXPECT_EQ(m.title, "Attenzione");
        EXPECT_EQ(m.text, c.testo);
        EXPECT_EQ(m.buttons, ui::Buttons::OK);
        EXPECT_EQ(m.icon, ui::Icon::Exclamation);
    }
    EXPECT_TRUE(motore_.avviati.empty());
}

}  // namespace
