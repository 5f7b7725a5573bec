// What a report object hands to the report engine, and what the operator sees when the engine
// cannot print.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/Report.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "support/Cartella.h"
#include "support/Porte.h"
#include "ui/Program.h"
#include "ui/Screen.h"

namespace {

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
        db_ = store::Database::create((dir_ / "Vendral2005.mdb").string());
        db_.execute(
            "INSERT INTO Domanda (NumRepertorio, CognomeRich, CanoneTotaleEur, NumComponNucleo) "
            "VALUES ('A001012005AB1', 'D''ANGELO', 4800.5, 3), ('A001012005AB2', NULL, NULL, "
            "NULL)");
    }
    // A definition in the test's folder, named as given.
    std::string definizione(const std::string& nome, const std::string& corpo = "<p>x</p>") {
        const std::string file = (dir_ / nome).string();
        std::ofstream(file) << "== corpo\n" << corpo << "\n";
        return file;
    }
    void TearDown() override { db_.close(); }

    supporto::CartellaTemporanea cartella_{"vdrpt"};
    const std::filesystem::path& dir_ = cartella_.percorso();
    store::Database db_;
    supporto::Messaggi messaggi_;
    Motore motore_;
    supporto::Orologio orologio_{{{2006, 10, 1}, 9, 30, 0}};
    ui::Program program_{ui::Ports{&messaggi_, &orologio_, nullptr, &motore_, nullptr}};
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
        {"VD_StaDom.rpt", ""},
        {"VD_EleDomDir.rpt", ""},
        {"VD_EleDom.rpt", "Elenco Domande Escluse per Reddito"},
        {"VD_EleDomDirX.rpt", "Elenco Domande Escluse per Reddito"},
    };
    for (const auto& c : casi) {
        crp.ReportFileName = definizione(c.file);
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
    motore_.guasto = "la stampante non risponde";
    const std::string presente = definizione("VD_Ricev.rpt");
    const struct {
        ui::Screen* schermata;
        std::string file;
        std::string testo;
    } casi[] = {
        {&schermata_, presente,
         "Impossibile stampare il report VD_Ricev.rpt:\r\nla stampante non risponde"},
        {&altra, presente,
         "Impossibile stampare il report VD_Ricev.rpt:\r\nnessun motore di stampa "
         "disponibile"},
        {&schermata_, "/opt/vendral/VD_Ricev.rpt",
         "Impossibile stampare il report VD_Ricev.rpt:\r\nil file /opt/vendral/VD_Ricev.rpt "
         "non esiste"},
    };
    for (const auto& c : casi) {
        messaggi_.mostrati.clear();
        reports::Report crp(*c.schermata);
        crp.ReportFileName = c.file;
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

// The request carries the date of the program's clock and, when the definition prints them, the
// household members of the printed applications only, with the descriptions of their codes.
TEST_F(ReportTest, RequestCarriesTheClockDateAndTheHouseholdsPrinted) {
    db_.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES ('A001012005AB3', 'X')");
    db_.execute(
        "INSERT INTO NucleoFam (NumRepertorio, ProgrNucleo, CognomeNome, CodParent, DataNascita, "
        "CodProfes, RedditoEur) VALUES "
        "('A001012005AB1', 5, 'D''ANGELO LUCA', '3', '2001-02-03', '06', 0), "
        "('A001012005AB1', 1, 'D''ANGELO PIA', '0', '1970-01-01', '99', 9800.5), "
        "('A001012005AB3', 1, 'X Y', '0', '1960-01-01', '01', 1)");
    store::RowSource righe(
        db_,
        "Select * from qryStampaDomande where NumRepertorio in ('A001012005AB1', "
        "'A001012005AB2') order by NumRepertorio");
    righe.requery();
    reports::Report crp(schermata_);

    crp.ReportFileName = definizione("VD_Senza.rpt");
    ASSERT_TRUE(crp.Avvia(righe, ""));
    EXPECT_EQ(motore_.avviati.back().printDate, "01/10/2006");
    EXPECT_TRUE(motore_.avviati.back().members.empty());

    crp.ReportFileName = definizione(
        "VD_Nucleo.rpt", "{{#righe}}{{#nucleo}}<p>{{CognomeNome}}</p>{{/nucleo}}{{/righe}}");
    ASSERT_TRUE(crp.Avvia(righe, ""));
    const ui::ReportRequest& r = motore_.avviati.back();
    std::vector<std::string> membri;
    for (const auto& m : r.members) {
        std::string riga;
        for (std::size_t c = 0; c < m.size(); ++c)
            if (r.memberColumns[c] != "RedditoEur") riga += m[c] + "|";
        membri.push_back(riga);
    }
    EXPECT_EQ(membri, (std::vector<std::string>{
                          "A001012005AB1|1|D'ANGELO PIA|0|Richiedente|1970-01-01|99|99|",
                          "A001012005AB1|5|D'ANGELO LUCA|3|Figlio a carico|2001-02-03|06|"
                          "Studente|",
                      }));
}

}  // namespace
