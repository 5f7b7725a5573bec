#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ArchiveTest.h"
#include "store/DbError.h"

using store::Database;
using store::DbError;

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs f, which must throw DbError, and returns the error.
template <typename F>
DbError errorOf(F f) {
    try {
        f();
    } catch (const DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no DbError";
    return DbError(0, "", "");
}

}  // namespace

using DatabaseTest = ArchiveTest;

TEST_F(DatabaseTest, WrongPasswordFailsWithoutTouchingTheFile) {
    const std::string path = pathOf("Vendral2005.mdb");
    db_.close();
    const std::string before = bytesOf(path);
    const DbError e = errorOf([&] { Database::open(path, "1234abcdefg"); });
    EXPECT_EQ(e.number(), 26);
    EXPECT_EQ(e.description(), "file is encrypted or is not a database");
    EXPECT_EQ(e.source(), "Database.Open");
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_NO_THROW(Database::open(path).query("select * from Domanda"));
}

TEST_F(DatabaseTest, FilesThatAreNotArchivesAreRefusedUnchanged) {
    for (const std::string& content :
         {std::string(), std::string("not an archive at all\n"), std::string(4096, 'x')}) {
        const std::string path = pathOf("other.mdb");
        std::ofstream(path, std::ios::binary) << content;
        EXPECT_EQ(errorOf([&] { Database::open(path); }).number(), 26);
        EXPECT_EQ(bytesOf(path), content);
    }
}

TEST_F(DatabaseTest, MissingFileFailsWithoutBeingCreated) {
    const std::string path = pathOf("missing.mdb");
    const DbError e = errorOf([&] { Database::open(path); });
    EXPECT_EQ(e.number(), 14);
    EXPECT_EQ(e.source(), "Database.Open");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(DatabaseTest, ReadOnlyConnectionReadsAndNeverWrites) {
    const std::string path = pathOf("Vendral2005.mdb");
    addDomanda("A001012005AB1", "ROSSI");
    db_.close();
    const std::string before = bytesOf(path);
    Database lettura = Database::openReadOnly(path);
    EXPECT_EQ(lettura.query("select CognomeRich from Domanda").rows.at(0).at(0).toText(), "ROSSI");
    EXPECT_NE(errorOf([&] { lettura.execute("delete from Domanda"); }).number(), 0);
    lettura.close();
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(errorOf([&] { Database::openReadOnly(pathOf("missing.mdb")); }).number(), 14);
    EXPECT_FALSE(std::filesystem::exists(pathOf("missing.mdb")));
}

TEST_F(DatabaseTest, NewArchiveHasLookupDataAndSavedQueries) {
    const auto count = [&](const std::string& sql) { return db_.query(sql).rows[0][0].toInt(); };
    EXPECT_EQ(count("select count(*) from ComuniValdoria"), 40);
    // Apostrophes and accented letters survive the trip from the data files.
    EXPECT_EQ(count("select count(*) from ComuniValdoria where Descrizione in "
                    "('SANT''ANGELO IN VALDORIA', 'CITTÀ DI VALDORIA')"),
              2);
    EXPECT_EQ(count("select count(*) from Tab_Professione"), 10);
    EXPECT_EQ(db_.query("select * from qryParentRichied").rows,
              (std::vector<std::vector<store::Value>>{{"0", "Richiedente"}}));
    EXPECT_EQ(db_.query("select * from qryFormRicerca").columns,
              (std::vector<std::string>{"NumRepertorio", "CognomeRich", "NomeRich", "CodFiscRich",
                                        "FlagDomandaOK", "CanoneTotaleEur", "RedditoAccessoEur",
                                        "ContribRichiesto", "ContribConcesso", "CoFinanzComune",
                                        "ContribComplessivo"}));
    const auto printColumns = db_.query("select * from qryStampaDomande").columns;
    EXPECT_EQ(printColumns.size(), db_.query("select * from Domanda").columns.size() + 1);
    EXPECT_EQ(printColumns.back(), "DescrComuneRich");
    for (const char* view : {"qryStatistiche", "qryFabbisognoStampa"}) {
        EXPECT_NO_THROW(db_.query(std::string("select * from ") + view)) << view;
    }
}

TEST_F(DatabaseTest, CompactedCopyKeepsDataAndPassword) {
    addDomanda("A001012005AB1", "ROSSI");
    const std::string copy = pathOf("Vendral2005_compresso.mdb");
    db_.compactInto(copy);
    {
        Database reopened = Database::open(copy);
        EXPECT_EQ(reopened.query("select CognomeRich from qryFormRicerca").rows.at(0).at(0),
                  store::Value("ROSSI"));
    }
    EXPECT_EQ(errorOf([&] { Database::open(copy, "0000abcdefg"); }).number(), 26);
    EXPECT_EQ(errorOf([&] { db_.compactInto(copy); }).source(), "Database.Compact");
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommitted) {
    {
        store::Transaction tx(db_);
        addDomanda("A001012005AB1", "ROSSI");
    }
    EXPECT_FALSE(db_.inTransaction());
    {
        store::Transaction tx(db_);
        addDomanda("A001012005AB2", "VERDI");
        tx.commit();
    }
    EXPECT_EQ(db_.query("select NumRepertorio from Domanda").rows,
              (std::vector<std::vector<store::Value>>{{"A001012005AB2"}}));
}
