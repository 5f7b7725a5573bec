#include <gtest/gtest.h>

#include "script/Parser.h"

namespace {

using script::ParseError;
using script::parseScenario;
using script::splitWords;
using Words = std::vector<std::string>;

TEST(SplitWords, QuotesEscapesAndBlanks) {
    struct Case {
        std::string line;
        Words words;
    };
    const Case cases[] = {
        {"  type \t txtNome   \"DE ROSSI\"  ", {"type", "txtNome", "DE ROSSI"}},
        {"a \"\"\"\" b", {"a", "", "b"}},
        {"expect-report VD_StaDom.rpt title=\"Elenco Completo Domande\"",
         {"expect-report", "VD_StaDom.rpt", "title=Elenco Completo Domande"}},
        {"x pre\"mid dle\"post", {"x", "premid dlepost"}},
        {R"(x "a \"b\" c")", {"x", "a \"b\" c"}},
        {R"(x "l1\r\nl2\tend")", {"x", "l1\r\nl2\tend"}},
        {R"(x "C:\Dati")", {"x", "C:\\Dati"}},
        {R"(x C:\Dati\n)", {"x", "C:\\Dati\\n"}},
        {"x \"#0.00\" # not a comment", {"x", "#0.00", "#", "not", "a", "comment"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitWords(c.line), c.words) << c.line;
}

TEST(ParseScenario, SkipsCommentsAndBlankLinesKeepingLineNumbers) {
    const auto commands = parseScenario(
        "\xEF\xBB\xBF# login\n"
        "\n"
        "   # indented comment\r\n"
        "start\r\n"
        "\t\n"
        "login OPERATORE1 \"pass word\"\n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].line, 4);
    EXPECT_EQ(commands[0].name, "start");
    EXPECT_TRUE(commands[0].args.empty());
    EXPECT_EQ(commands[1].line, 6);
    EXPECT_EQ(commands[1].args, (Words{"OPERATORE1", "pass word"}));
}

TEST(ParseScenario, ReportsTheLineAndWhatWasWrong) {
    struct Case {
        std::string text;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"start\nfrobnicate x\n", 2, "a command / \"frobnicate\""},
        {"start now\n", 1, "start with 0 arguments / 1 argument"},
        {"# c\nexpect txtNome\n", 2, "expect with 2 arguments / 1 argument"},
        {"type txtNome \"ROSSI\n", 1, "a closing quote / end of line"},
        {"\n\nkey txtNome Enter\n", 3, "key a whole number / \"Enter\""},
        {"answer maybe\n", 1, "answer yes, no, ok or cancel / \"maybe\""},
        {"expect-enabled cmdOK true\n", 1, "expect-enabled yes or no / \"true\""},
        {"expect-report\n", 1, "expect-report with at least 1 argument / 0 arguments"},
        {"expect-report F.rpt pages=2\n", 1,
         "expect-report rows=, title=, formula0=, formula1= or sql= / \"pages=2\""},
        {"Start\n", 1, "a command / \"Start\""},
        {"fault disk\n", 1, "fault copy, rename, compact or full / \"disk\""},
        {"other-program crashed\n", 1, "other-program running, ended or killed / \"crashed\""},
    };
    for (const auto& c : cases) {
        try {
            parseScenario(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const ParseError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_EQ(std::string(e.what()), c.message) << c.text;
        }
    }
}

TEST(Quoted, WritesEscapesBack) {
    EXPECT_EQ(script::inQuotes("a \"b\"\\\r\n\tc"), R"("a \"b\"\\\r\n\tc")");
    EXPECT_EQ(splitWords("x " + script::inQuotes("a \"b\"\\\r\n\tc"))[1], "a \"b\"\\\r\n\tc");
}

}  // namespace
