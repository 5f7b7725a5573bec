#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/Parser.h"
#include "script/Runner.h"
#include "script/Scenario.h"
#include "store/Database.h"
#include "support/Cartella.h"

namespace fs = std::filesystem;

namespace {

// Scenario files written to a folder of their own, run through the runner.
class RunnerTest : public ::testing::Test {
protected:
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

    supporto::CartellaTemporanea cartella_{"script-runner-"};
    const std::filesystem::path& dir = cartella_.percorso();
    std::string output;
};

const char* const kConfigured =
    "configure A00102 AB 15/07/2006 31/10/2006 OPERATORE PASSWORD1\n"
    "start\n";

// The FAIL line: file, line, what was expected / what was found; the rest of the file is
// skipped after the first failure.
TEST_F(RunnerTest, FailureLinesNameTheLineTheExpectationAndWhatWasFound) {
    const struct {
        std::string text;
        std::string failure;
    } cases[] = {
        {"start\nexpect-screen frmInizio\nexpect-screen none\n",
         ":2: expect-screen frmInizio / frmConfigVD"},
        {"start\nclick cmdAvvisoPwd\nexpect-msg \"Attenzione\" \"Inserire\"\n",
         ":3: expect-msg Attenzione Inserire / \"Attenzione\" \"Inserire un nome utente.\\r"},
        {"start\nclick cmdNonCe\n", ":2: a control cmdNonCe on frmConfigVD / no such control"},
        {"sql \"delete from NoSuchTable\"\n", ":1: sql \"delete from NoSuchTable\" completes / "},
        {"start\nclose\nexpect-screen none\nclose\n",
         ":4: close on a shown screen / the program has ended"},
    };
    for (const auto& k : cases) {
        const std::string file = write("case.scn", k.text);
        EXPECT_EQ(run({file}), 1) << k.text;
        EXPECT_EQ(output.rfind("FAIL " + file + k.failure, 0), 0u) << output;
        EXPECT_TRUE(output.ends_with("\n0 passed, 1 failed\n")) << output;
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

std::string ripeti(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// A definition in the program's folder that the program refuses: the operator is told which
// report and why, alike each time, and the menu and the other reports keep working.
TEST_F(RunnerTest, RefusedDefinitionIsToldAndTheScreensStayUsable) {
    const fs::path programma = dir / "programma";
    fs::create_directories(programma);
    for (const auto& f : fs::directory_iterator(VENDRAL_REPORTS_DIR))
        if (f.path().extension() == ".rpt")
            fs::copy_file(f.path(), programma / f.path().filename());
    const struct {
        std::string definizione;
        std::string motivo;
    } casi[] = {
        {"== corpo\n" + ripeti("{{#a}}", 20000) + ripeti("{{/a}}", 20000),
         "riga 2: sezioni annidate oltre 16 livelli"},
        {"== corpo\n<p><img src=\"/dev/zero\"/></p>\n", "corpo: riferimento non ammesso"},
        {"margini: nan nan nan nan\n== corpo\nx\n", "riga 1: margine non valido: nan"},
    };
    int n = 0;
    for (const auto& c : casi) {
        std::ofstream(programma / "VD_stat.rpt", std::ios::binary | std::ios::trunc)
            << c.definizione;
        const std::string messaggio = "expect-msg-start Attenzione " +
                                      script::inQuotes(
                                          "Impossibile stampare il report "
                                          "VD_stat.rpt:\r\n" +
                                          c.motivo) +
                                      "\n";
        const std::string scenario =
            "configure A00104 XY 14/07/2006 30/09/2006 operatore1 segreta01\n"
            "start\n"
            "login operatore1 segreta01\n"
            "click cmdStatistiche\n" +
            messaggio + "click mnuStatistiche\n" + messaggio +
            "expect-screen frmInizio\n"
            "click cmdStampe\n"
            "select opEleDom\n"
            "click cmdStampe\n"
            "expect-report VD_EleDom.rpt\n"
            "expect-no-msg\n";
        const startup::Paths paths{(dir / ("dati" + std::to_string(++n))).string(),
                                   programma.string()};
        fs::create_directories(paths.dataDir);
        store::Database::create(paths.archive()).close();
        script::ScenarioRun run(paths.dataDir, paths.programDir);
        const std::optional<script::Outcome> esito = run.run(script::parseScenario(scenario));
        EXPECT_FALSE(esito) << c.motivo << ": " << esito->line << ": " << esito->text;
    }
}

}  // namespace
