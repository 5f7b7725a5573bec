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

}  // namespace
