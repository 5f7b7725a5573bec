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
        {"click cmdOK", {"click", "cmdOK"}},
        {"  type \t txtNome   \"DE ROSSI\"  ", {"type", "txtNome", "DE ROSSI"}},
        {"expect txtNome \"\"", {"expect", "txtNome", ""}},
        {"a \"\"\"\" b", {"a", "", "b"}},
        {"expect-report VD_StaDom.rpt title=\"Elenco Completo Domande\"",
         {"expect-report", "VD_StaDom.rpt", "title=Elenco Completo Domande"}},
        {"x pre\"mid dle\"post", {"x", "premid dlepost"}},
        {R"(x "a \"b\" c")", {"x", "a \"b\" c"}},
        {R"(x "back\\slash")", {"x", "back\\slash"}},
        {R"(x "l1\r\nl2\tend")", {"x", "l1\r\nl2\tend"}},
        {R"(x "C:\Dati")", {"x", "C:\\Dati"}},
        {R"(x C:\Dati\n)", {"x", "C:\\Dati\\n"}},
        {"x \"#0.00\" # not a comment", {"x", "#0.00", "#", "not", "a", "comment"}},
        {"expect txtComune \"FORLÌ\"", {"expect", "txtComune", "FORLÌ"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitWords(c.line), c.words) << c.line;
}

TEST(ParseScenario, SkipsCommentsAndBlankLinesKeepingLineNumbers) {
    const auto commands = parseScenario(
        "# login\n"
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

TEST(ParseScenario, IgnoresAByteOrderMark) {
    const auto commands = parseScenario("\xEF\xBB\xBFstart\n");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].name, "start");
}

TEST(ParseScenario, AcceptsEveryCommandOfTheLanguage) {
    const char* text = R"(today 15/09/2006
configure 000001 AB 15/07/2006 31/10/2006 OPERATORE PASSWORD1
sql "delete from Domanda"
start
login OPERATORE PASSWORD1
fault copy
fault rename
fault compact
media present
media absent
media readonly
focus txtNome
type txtNucleoNome(0) "ROSSI MARIO"
clear txtNome
set txtNome "X"
key txtNome 13
leave
tick chkA
untick chkA
choose cmbComune "ROMA"
select opA
click mnuUscita
page 2
row grdRicerca 0
dblclick grdRicerca
close
answer yes
answer no
answer ok
answer cancel
expect-msg "Attenzione" "Testo"
expect-msg-start "Attenzione" "Te"
expect-no-msg
expect txtNome "X"
expect-shown cmbComune "ROMA"
expect-enabled cmdOK yes
expect-visible cmdOK no
expect-focus none
expect-screen frmInizio
expect-title "Vendral 2005"
expect-sql "select 1" "1"
expect-grid grdRicerca 3
expect-cell grdRicerca 0 1 "ROSSI"
expect-report VD_Ricev.rpt
expect-report VD_EleDom.rpt rows=3 title="Elenco" formula0="A=\"B\"" formula1="" sql="select *"
expect-no-report
expect-file media/Vendral2005_000001.mdb yes
)";
    EXPECT_EQ(parseScenario(text).size(), 47u);
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
        {"row grd 99999999999\n", 1, "row a whole number / \"99999999999\""},
        {"answer maybe\n", 1, "answer yes, no, ok or cancel / \"maybe\""},
        {"fault delete\n", 1, "fault copy, rename or compact / \"delete\""},
        {"media gone\n", 1, "media present, absent or readonly / \"gone\""},
        {"expect-enabled cmdOK true\n", 1, "expect-enabled yes or no / \"true\""},
        {"expect-file x maybe\n", 1, "expect-file yes or no / \"maybe\""},
        {"expect-report\n", 1, "expect-report with at least 1 argument / 0 arguments"},
        {"expect-report F.rpt pages=2\n", 1,
         "expect-report rows=, title=, formula0=, formula1= or sql= / \"pages=2\""},
        {"expect-report F.rpt rows=many\n", 1, "expect-report rows=<whole number> / \"rows=many\""},
        {"expect-cell grd 0 x \"a\"\n", 1, "expect-cell a whole number / \"x\""},
        {"Start\n", 1, "a command / \"Start\""},
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
