#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/Runner.h"

namespace fs = std::filesystem;

namespace {

// Scenario files written to a folder of their own, run through the runner.
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = (fs::temp_directory_path() / "script-runner-XXXXXX").string();
        ASSERT_NE(mkdtemp(path.data()), nullptr);
        dir = path;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& text) {
        const std::string path = (dir / name).string();
        std::ofstream(path) << text;
        return path;
    }

    int run(const std::vector<std::string>& files, const std::string& keep = "") {
        std::ostringstream out;
        const int status = script::runScenarios(files, keep, out);
        output = out.str();
        return status;
    }

    fs::path dir;
    std::string output;
};

const char* const kConfigured =
    "configure A00102 AB 15/07/2006 31/10/2006 OPERATORE PASSWORD1\n"
    "start\n";

TEST_F(RunnerTest, ScenariosPassOrFailAtTheirFirstFailure) {
    struct Case {
        const char* name;
        std::string text;
        std::string failure;  // "" when the file passes
    };
    const std::string c = kConfigured;
    const Case cases[] = {
        {"empty configuration", "start\nexpect-screen frmConfigVD\nexpect-focus cmbComune\n", ""},
        {"wrong screen", "start\nexpect-screen frmInizio\nexpect-screen none\n",
         ":2: expect-screen frmInizio / frmConfigVD"},
        {"login screen",
         c + "expect-screen frmAccessoVD\nexpect-title \"Vendral 2005 - Abilitazione Accesso\"\n",
         ""},
        {"login", c + "login OPERATORE PASSWORD1\nexpect-screen frmInizio\nexpect-no-msg\n", ""},
        {"wrong login ends the program",
         c + "login OPERATORE password1\n"
             "expect-msg \"Accesso\" \"Utente o Password non validi. Riprovare.\"\n"
             "expect-screen none\nexpect-focus none\nexpect txtUtente \"\"\n",
         ":7: expect txtUtente \"\" on a shown screen / the program has ended"},
        {"login only on the login screen", "start\nlogin OPERATORE PASSWORD1\n",
         ":2: login on frmAccessoVD / the active screen is frmConfigVD"},
        {"typing stops at the maximum length",
         c + "type txtUtente \"ABCDEFGHIJKLMNOPQRST\"\nexpect txtUtente \"ABCDEFGHIJKLMNO\"\n"
             "key txtUtente 8\nexpect txtUtente \"ABCDEFGHIJKLMN\"\n"
             "set txtUtente \"èèèèèèèèèèèèèèèèè\"\nexpect txtUtente \"èèèèèèèèèèèèèèè\"\n"
             "key txtUtente 8\nkey txtUtente 65\nexpect txtUtente \"èèèèèèèèèèèèèèA\"\n"
             "clear txtUtente\nexpect txtUtente \"\"\n",
         ""},
        {"key filter swallows keys",
         "start\ntype txtPuntoLavoro \"a1b\"\nexpect txtPuntoLavoro \"ab\"\n"
         "expect-msg \"Attenzione\" \"Carattere non valido ! \\r\\nInserire solo caratteri "
         "alfabetici.\"\nexpect-no-msg\n",
         ""},
        {"unchecked box", "start\ntype txtPuntoLavoro \"1\"\nexpect-no-msg\n",
         ":3: expect-no-msg / message box \"Attenzione\" \"Carattere non valido ! "
         "\\r\\nInserire solo caratteri alfabetici.\""},
        {"message text differs",
         "start\nclick cmdAvvisoPwd\nexpect-msg \"Attenzione\" \"Inserire\"\n",
         ":3: expect-msg Attenzione Inserire / \"Attenzione\" \"Inserire un nome utente.\\r"},
        {"message text begins", "start\nclick cmdAvvisoPwd\nexpect-msg-start Attenzione Inserire\n",
         ""},
        {"no message box", "start\nexpect-msg Attenzione x\n",
         ":2: expect-msg Attenzione x / no message box"},
        {"leave keeps the focus",
         "start\ntype txtDatEmissione \"01/01/2005\"\nfocus txtDatChiusura\n"
         "expect-focus txtDatEmissione\ntype txtDatChiusura \"31/10/2006\"\n",
         ":5: the focus on txtDatChiusura / the focus stayed on txtDatEmissione"},
        {"answer not among the buttons", "start\nanswer yes\nclick cmdAvvisoPwd\nexpect-no-msg\n",
         ":3: answer yes / box \"Attenzione\" \"Inserire un nome utente."},
        {"choose an entry",
         "start\nchoose cmbComune \"ALBAROSSA\"\nexpect cmbComune A00102\n"
         "expect-shown cmbComune ALBAROSSA\nexpect txtCodComune A00102\n",
         ""},
        {"choose a missing entry", "start\nchoose cmbComune \"ATLANTIDE\"\n",
         ":2: choose cmbComune \"ATLANTIDE\" / no such entry among 40"},
        {"missing control", "start\nclick cmdNonCe\n",
         ":2: a control cmdNonCe on frmConfigVD / no such control"},
        {"enabled and visible",
         "start\nexpect-enabled cmdUscita yes\nexpect-visible cmdUscita no\n",
         ":3: expect-visible cmdUscita no / yes"},
        {"enter clicks the default button and typing stops",
         c + "type txtUtente \"OPERATORE\"\ntype txtPassword \"PASSWORD1\\rXYZ\"\n"
             "expect-screen frmInizio\nexpect txtPuntoLavoro AB\n",
         ""},
        {"sql and its result",
         "sql \"insert into Domanda (NumRepertorio, CognomeRich) values ('1', 'ROSSI')\"\n"
         "expect-sql \"select NumRepertorio, CognomeRich, NomeRich, 2.5, 3 from Domanda\" "
         "\"1|ROSSI|NULL|2.5|3\"\n"
         "start\nexpect-sql \"select count(*) from Domanda\" \"1\"\n"
         "expect-sql \"select count(*) from Domanda\" \"2\"\n",
         ":5: expect-sql \"select count(*) from Domanda\" \"2\" / \"1\""},
        {"a failing statement", "sql \"delete from NoSuchTable\"\n",
         ":1: sql \"delete from NoSuchTable\" completes / "},
        {"a bad date", "configure A00102 AB 31/02/2006 31/10/2006 OPERATORE PASSWORD1\n",
         ":1: configure with dates DD/MM/YYYY / \"31/02/2006\" is not a date"},
        {"files in the data folder",
         "expect-file Vendral2005.mdb yes\nexpect-file media yes\nmedia absent\n"
         "expect-file media no\nexpect-file media/x.mdb yes\n",
         ":5: expect-file media/x.mdb yes / no"},
        {"no reports", "start\nexpect-no-report\nexpect-report VD_Ricev.rpt\n",
         ":3: expect-report VD_Ricev.rpt / no report started"},
        {"a bad day", "today 15/09/2006\ntoday 31/09/2006\n",
         ":2: today DD/MM/YYYY / \"31/09/2006\" is not a date"},
        {"close through the title bar", "start\nclose\nexpect-screen none\nclose\n",
         ":4: close on a shown screen / the program has ended"},
        {"leave runs the leave handling",
         "start\ntype txtDatChiusura \"31/10/2005\"\nleave\nexpect-focus txtDatChiusura\n"
         "expect-msg Attenzione \"L'anno della data di chiusura deve essere il 2006 ! \"\n"
         "clear txtDatChiusura\nleave\nexpect-focus none\nexpect-no-msg\n",
         ""},
        {"a new start after the end",
         c + "key txtUtente 27\nexpect-screen none\nstart\nexpect-screen frmAccessoVD\n"
             "login OPERATORE PASSWORD1\nexpect-screen frmInizio\n",
         ""},
        {"menu entry", c + "login OPERATORE PASSWORD1\nclick mnuUscita\nexpect-screen none\n", ""},
    };
    for (const auto& k : cases) {
        const std::string file = write("case.scn", k.text);
        const int status = run({file});
        if (k.failure.empty()) {
            EXPECT_EQ(status, 0) << k.name;
            EXPECT_EQ(output, "PASS " + file + "\n1 passed, 0 failed\n") << k.name;
        } else {
            EXPECT_EQ(status, 1) << k.name;
            EXPECT_EQ(output.rfind("FAIL " + file + k.failure, 0), 0u) << k.name << "\n" << output;
            EXPECT_TRUE(output.ends_with("\n0 passed, 1 failed\n")) << k.name;
        }
    }
}

TEST_F(RunnerTest, EachFileRunsInAFreshDataFolder) {
    const std::string first = write("first.scn", std::string(kConfigured) +
                                                     "expect-screen frmAccessoVD\n"
                                                     "expect-sql \"select Utente from "
                                                     "Configurazione\" \"OPERATORE\"\n");
    const std::string second = write("second.scn", "start\nexpect-screen frmConfigVD\n");
    EXPECT_EQ(run({first, second}), 0);
    EXPECT_EQ(output, "PASS " + first + "\nPASS " + second + "\n2 passed, 0 failed\n");
}

TEST_F(RunnerTest, UnparsableFileIsReportedAndTheOthersStillRun) {
    const std::string good = write("good.scn", "start\n");
    const std::string bad = write("bad.scn", "start\n\nclick\n");
    const std::string failing = write("failing.scn", "expect-screen frmInizio\n");
    EXPECT_EQ(run({good, bad, failing}), 2);
    EXPECT_EQ(output, "PASS " + good + "\nFAIL " + bad +
                          ":3: click with 1 argument / 0 arguments\nFAIL " + failing +
                          ":1: expect-screen frmInizio / none\n1 passed, 2 failed\n");
    EXPECT_EQ(run({(dir / "missing.scn").string()}), 2);
    EXPECT_EQ(output.rfind("FAIL " + (dir / "missing.scn").string() + ":0: ", 0), 0u);
}

TEST_F(RunnerTest, KeepCopiesTheDataFolderAndTheRecords) {
    const std::string file =
        write("kept.scn", std::string(kConfigured) + "login OPERATORE sbagliata\n");
    const fs::path keep = dir / "keep";
    EXPECT_EQ(run({file}, keep.string()), 0);
    EXPECT_TRUE(fs::exists(keep / "kept" / "Vendral2005.mdb"));
    EXPECT_TRUE(fs::is_directory(keep / "kept" / "media"));
    std::ifstream in(keep / "kept" / "messages.txt");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "\"Accesso\" \"Utente o Password non validi. Riprovare.\" buttons=ok icon=none "
              "answer=ok");
}

}  // namespace
