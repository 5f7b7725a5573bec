#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveTest.h"
#include "search/ElencoDomande.h"
#include "search/Registry.h"
#include "startup/ModuloVD2005.h"
#include "store/DbError.h"
#include "store/Text.h"
#include "support/Porte.h"
#include "ui/Program.h"
#include "ui/Screen.h"

namespace {

// The filter statement of the search screen, as the old program composed it, with the
// filter's double quotes doubled so that the dialect reads it as one literal.
std::string statementOf(const std::string& filtro) {
    std::string letterale;
    for (char c : filtro) letterale += c == '"' ? std::string("\"\"") : std::string(1, c);
    return "select * from qryFormRicerca  where ucase(left(CognomeRich, " +
           std::to_string(store::utf8Length(filtro)) + ")) =\"" + letterale +
           "\" order by CognomeRich, NomeRich ";
}

class RicercaTest : public ArchiveTest {
protected:
    std::vector<std::string> numbersOf(const std::string& sql) {
        std::vector<std::string> numbers;
        for (const auto& row : db_.query(sql).rows) numbers.push_back(row[0].toText());
        return numbers;
    }
    static std::vector<std::string> numbersOf(const search::ElencoDomande& elenco) {
        std::vector<std::string> numbers;
        for (int r = 0; r < elenco.recordCount(); ++r) {
            numbers.push_back(elenco.field(r, "NumRepertorio").toText());
        }
        return numbers;
    }
};

TEST_F(RicercaTest, FilterListsWhatTheFilterStatementSelects) {
    const std::vector<store::Value> surnames = {
        "ROSSI", "rossini", "Rosati", "ROMANO", "D'ANGELO", "DE \"TONI\"", "100%",
        "1000",  "A_B",     "AXB",    "A*",     "NICCOLÒ",  "niccolò",     "àlvaro",
        "ıSIK",  "ſANTO",   "µ",      "ÿ",      "",         store::Value()};
    for (std::size_t i = 0; i < surnames.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        addDomanda("A001012005AB" + n, surnames[i], "N" + n);
    }
    search::ElencoDomande elenco(pathOf("Vendral2005.mdb"));
    elenco.requery();
    EXPECT_EQ(numbersOf(elenco),
              numbersOf("select * from qryFormRicerca order by CognomeRich, NomeRich"));

    for (const std::string filtro :
         {"",        "R",    "RO", "ROS",  "ROSSINI", "ROSSINIS", "D'", "'", "DE \"",
          "\"",      "\"\"", "%",  "100%", "10",      "A_",       "A*", "*", "NICCOLÒ",
          "NICCOLO", "ÀL",   "I",  "S",    "Μ",       "Ÿ",        "Z"}) {
        elenco.setFiltro(filtro);
        elenco.requery();
        EXPECT_EQ(numbersOf(elenco), numbersOf(statementOf(filtro))) << filtro;
    }
}

TEST_F(RicercaTest, DeletionKeepsTheHouseholdRowsWhenTheApplicationCannotGo) {
    addDomanda("A001012005AB1", "ROSSI", "MARIO");
    db_.execute(
        "INSERT INTO NucleoFam (NumRepertorio, ProgrNucleo, CognomeNome) "
        "VALUES ('A001012005AB1', 1, 'ROSSI MARIO')");
    db_.execute(
        "CREATE TRIGGER blocca BEFORE DELETE ON Domanda BEGIN SELECT RAISE(ABORT, 'bloccato'); "
        "END");
    supporto::Messaggi yes;
    yes.risposta = ui::Answer::Yes;
    ui::Ports ports;
    ports.messages = &yes;
    ui::Program program(ports);
    startup::ModuloVD2005 modulo(program, {dir_.string(), dir_.string()});
    search::RegistraSchermate(modulo);
    ui::Screen& ricerca = program.show("frmRicercaVD", true);

    EXPECT_THROW(ricerca.operatorClick(ricerca.control("cmdElimina")), store::DbError);
    EXPECT_EQ(db_.query("SELECT count(*) FROM NucleoFam").rows[0][0], store::Value(1));
}

}  // namespace
