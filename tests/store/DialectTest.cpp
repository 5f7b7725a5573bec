#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveTest.h"
#include "store/DbError.h"
#include "store/Dialect.h"

using store::Value;

namespace {

const std::string kSearchRos =
    "select * from qryFormRicerca  where ucase(left(CognomeRich, 3)) =\"ROS\" order by "
    "CognomeRich, NomeRich ";
const std::string kPrintRange =
    "Select * from qryStampaDomande  WHERE val(mid(NumRepertorio,13))>=1 and "
    "val(mid(NumRepertorio,13))<=50 order by val(mid(NumRepertorio,13)) ";
const std::string kMaxRegister =
    "Select max(val(mid(NumRepertorio,13))) as MaxVal from domanda where "
    "left(NumRepertorio,6)='A00101'";
const std::string kGrant =
    "Update Domanda set ContribConcesso=Round(ContribRichiesto * 50.000000 /100,2)";

}  // namespace

TEST(Dialect, RoundSendsAnExactHalfToTheEvenNeighbour) {
    const struct {
        double x;
        int decimals;
        double expected;
    } cases[] = {
        {0.125, 2, 0.12},
        {0.135, 2, 0.14},
        {2.675, 2, 2.68},
        {-0.125, 2, -0.12},
        {1.005, 2, 1.00},
        {617.28, 2, 617.28},
        {0.126, 2, 0.13},
        {2.5, 0, 2.0},
        {3.5, 0, 4.0},
        {-2.5, 0, -2.0},
        {1234567.125, 2, 1234567.12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store::roundHalfEven(c.x, c.decimals), c.expected) << c.x;
    }
}

using DialectSql = ArchiveTest;

TEST_F(DialectSql, FunctionsOfTheDialect) {
    const struct {
        const char* expression;
        Value expected;
    } cases[] = {
        {"val('  -3.50 mq')", Value(-3.5)},
        {"val(mid('A001012005AB12',13))", Value(12)},
        {"val(null)", Value()},
        {"mid('CITTÀ DI X', 5)", Value("À DI X")},
        {"mid('CITTÀ DI X', 5, 2)", Value("À ")},
        {"left('CITTÀ DI X', 5)", Value("CITTÀ")},
        {"left(null, 3)", Value()},
        {"ucase('città d''oro')", Value("CITTÀ D'ORO")},
        {"Round(0.125, 2)", Value(0.12)},
        {"Round(2.5)", Value(2.0)},
        {"Round(null, 2)", Value()},
    };
    for (const auto& c : cases) {
        const auto result = db_.query(std::string("select ") + c.expression);
        EXPECT_EQ(result.rows.at(0).at(0), c.expected) << c.expression;
    }
    EXPECT_THROW(db_.query("select mid('abc', 0)"), store::DbError);
}

TEST_F(DialectSql, DoubleQuotedTextIsAlwaysText) {
    addDomanda("A001012005AB1", "D'ANGELO");
    addDomanda("A001012005AB2", "A\"B");
    addDomanda("A001012005AB3", "ROSSI");
    const auto count = [&](const std::string& where) {
        return db_.query("select count(*) from Domanda where " + where).rows[0][0].toInt();
    };
    // A word equal to a column name is still the word, not the column.
    EXPECT_EQ(count("CognomeRich = \"CognomeRich\""), 0);
    EXPECT_EQ(count("CognomeRich = \"D'ANGELO\""), 1);
    EXPECT_EQ(count("CognomeRich = \"A\"\"B\""), 1);
    EXPECT_EQ(count("CognomeRich = " + store::quote("D'ANGELO")), 1);
}

TEST_F(DialectSql, StatementsOfTheProgramRunOnAnArchive) {
    addDomanda("A001012005AB9", "ROSSI", "MARIO", "1", 1234.56);
    addDomanda("A001012005AB10", "Rossini", "Anna", "0", 0.25);
    addDomanda("A001012005CD3", "città", "Luca", "1", 0.27);
    addDomanda("A001012005AB50", "BIANCHI", "", Value(), 100.0);
    addDomanda("A001012005AB51", "ROSA", "", "1", 10.0);
    addDomanda("B002012005AB70", "VERDI", "", "1", 10.0);
    addDomanda("A001012005AB52", "");
    addDomanda("A001012005AB53", Value());

    EXPECT_EQ(db_.execute("Delete from Domanda where CognomeRich='' or CognomeRich IS NULL"), 2);
    EXPECT_EQ(db_.execute("Delete from NucleoFam where CognomeNome='' or CognomeNome IS NULL"), 0);

    const auto maxVal = db_.query(kMaxRegister).rows[0][0];
    EXPECT_TRUE(maxVal.isInteger());
    EXPECT_EQ(maxVal.toText(), "51");
    EXPECT_TRUE(db_.query("Select max(val(mid(NumRepertorio,13))) as MaxVal from domanda where "
                          "left(NumRepertorio,6)='C00301'")
                    .rows[0][0]
                    .isNull());

    const auto column = [](const store::QueryResult& r, const std::string& name) {
        std::vector<std::string> values;
        std::size_t c = 0;
        while (r.columns.at(c) != name) ++c;
        for (const auto& row : r.rows) values.push_back(row[c].toText());
        return values;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(column(db_.query(kSearchRos), "CognomeRich"), (Texts{"ROSA", "ROSSI", "Rossini"}));
    EXPECT_EQ(column(db_.query("select * from qryFormRicerca  where ucase(left(CognomeRich, 5)) "
                               "=\"CITTÀ\" order by CognomeRich, NomeRich "),
                     "NumRepertorio"),
              Texts{"A001012005CD3"});
    EXPECT_EQ(column(db_.query(kPrintRange), "NumRepertorio"),
              (Texts{"A001012005CD3", "A001012005AB9", "A001012005AB10", "A001012005AB50"}));
    EXPECT_EQ(column(db_.query("Select * from qryStampaDomande WHERE "
                               "NumRepertorio='A001012005AB9' "),
                     "DescrComuneRich"),
              Texts{"ACQUAVIVA DI VALDORIA"});
    // A flag never written is in neither list.
    EXPECT_EQ(column(db_.query("Select * from qryStampaDomande  Where FlagDomandaOK='1'  order "
                               "by Fascia, val(mid(NumRepertorio,13)) "),
                     "NumRepertorio"),
              (Texts{"A001012005CD3", "A001012005AB9", "A001012005AB51", "B002012005AB70"}));
    EXPECT_EQ(column(db_.query("Select * from qryStampaDomande Where  FlagDomandaOK='0'  order "
                               "by CognomeRich, NomeRich, CodFiscRich "),
                     "NumRepertorio"),
              Texts{"A001012005AB10"});

    EXPECT_EQ(db_.execute(kGrant), 6);
    EXPECT_EQ(column(db_.query("select ContribConcesso from Domanda order by "
                               "val(mid(NumRepertorio,13))"),
                     "ContribConcesso"),
              (Texts{"0.14", "617.28", "0.12", "50.0", "5.0", "5.0"}));
    EXPECT_EQ(db_.query("select * from ComuniValdoria order by Descrizione").rows.size(), 40u);
    EXPECT_EQ(db_.query("select  * from Configurazione").rows.size(), 0u);
}
