#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

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

// Each save writes an application with its two household rows; every copy taken while saves go
// on holds whole saves only, or gives up while the archive stays busy.
TEST_F(DatabaseTest, CopiesTakenWhileAnotherConnectionSavesAreNeverTorn) {
    std::atomic<bool> basta = false;
    std::thread scrittore([&] {
        Database db = Database::open(pathOf("Vendral2005.mdb"));
        db.execute("PRAGMA synchronous = OFF");  // quick saves, the same locks
        for (int i = 0; !basta; ++i) {
            const std::string numero = std::to_string(i);
            store::Transaction tx(db);
            for (const char* sql :
                 {"INSERT INTO Domanda (NumRepertorio) VALUES (?)",
                  "INSERT INTO NucleoFam (NumRepertorio, ProgrNucleo) VALUES (?, 1)",
                  "INSERT INTO NucleoFam (NumRepertorio, ProgrNucleo) VALUES (?, 2)"}) {
                db.execute(sql, {numero});
            }
            tx.commit();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    int copie = 0;
    for (int tentativo = 0; copie < 3 && tentativo < 20; ++tentativo) {
        const std::string copy = pathOf("copia" + std::to_string(tentativo) + ".mdb");
        try {
            db_.copyTo(copy);
        } catch (const DbError& e) {
            EXPECT_EQ(e.number(), 5) << e.detail();
            continue;
        }
        Database c = Database::open(copy);
        const auto count = [&](const char* sql) { return c.query(sql).rows[0][0].toInt(); };
        EXPECT_EQ(count("select count(*) from NucleoFam"),
                  2 * count("select count(*) from Domanda"));
        EXPECT_EQ(c.query("PRAGMA integrity_check").rows[0][0], store::Value("ok"));
        ++copie;
    }
    basta = true;
    scrittore.join();
    EXPECT_EQ(copie, 3);
}

// The operator reads the engine's failures in Italian, with the engine's number.
TEST_F(DatabaseTest, EngineFailuresGiveItalianReasons) {
    const std::string archive = pathOf("Vendral2005.mdb");
    addDomanda("A001012005AB1", "ROSSI");
    const struct {
        const char* nome;
        std::function<void()> guasto;
        int numero;
        std::string motivo;
    } casi[] = {
        {"other password", [&] { Database::open(archive, "0000abcdefg"); }, 26,
         "non è un archivio di Vendral 2005 o la password è diversa"},
        {"duplicate key", [&] { addDomanda("A001012005AB1", "VERDI"); }, 19, "valore già presente"},
        {"disk full",
         [&] {
             Database db = Database::open(archive);
             db.execute("PRAGMA max_page_count = " +
                        db.query("PRAGMA page_count").rows[0][0].toText());
             db.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES ('X', ?)",
                        {std::string(100000, 'x')});
         },
         13, "disco pieno"},
        {"busy",
         [&] {
             Database writer = Database::open(archive);
             writer.begin();
             Database db = Database::open(archive);
             db.execute("PRAGMA busy_timeout = 0");
             db.begin();
         },
         5, "archivio occupato da un'altra operazione"},
        {"trigger's own words",
         [&] {
             db_.execute(
                 "CREATE TRIGGER no BEFORE INSERT ON Domanda BEGIN "
                 "SELECT RAISE(ABORT, 'domanda rifiutata'); END");
             addDomanda("A001012005AB2", "VERDI");
         },
         19, "domanda rifiutata"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        const DbError e = errorOf(c.guasto);
        EXPECT_EQ(e.number(), c.numero);
        EXPECT_EQ(e.description(), c.motivo);
        EXPECT_FALSE(e.detail().empty());
    }
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
