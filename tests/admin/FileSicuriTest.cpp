// Writing a file never leaves it half-written: a failure at any step of the copy, the check,
// the flush or the rename leaves the target exactly as it was and no temporary file behind. The
// compaction never loses a save made while it runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "FileGuasti.h"
#include "admin/FileSicuri.h"
#include "admin/Manutenzione.h"
#include "startup/ModuloVD2005.h"
#include "store/Database.h"
#include "support/Cartella.h"

namespace fs = std::filesystem;
using startup::NomeTemporaneo;

namespace {

class FileSicuriTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The archive has rows to keep and free pages left by deleted ones.
        store::Database db = store::Database::create(archivio());
        for (int i = 1; i <= 200; ++i) {
            db.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES (?, ?)",
                       {"A001012005AB" + std::to_string(i), std::string(300, 'R')});
        }
        db.execute("DELETE FROM Domanda WHERE CognomeRich IS NOT NULL AND rowid > 50");
        righe_ = admin::ContaRighe(db);
        // An older, different archive in the target's place.
        store::Database::create(in("copia.mdb"))
            .execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES ('X', 'VECCHIA')");
    }

    std::string in(const std::string& name) const { return (dir_ / name).string(); }
    std::string archivio() const { return in("Vendral2005.mdb"); }
    std::string compresso() const { return in("Vendral2005_compresso.mdb"); }
    std::set<std::string> presenti() const {
        std::set<std::string> nomi;
        for (const auto& e : fs::directory_iterator(dir_)) nomi.insert(e.path().filename());
        return nomi;
    }
    admin::Conteggi righeDi(const std::string& path) const {
        store::Database db = store::Database::open(path);
        return admin::ContaRighe(db);
    }

    supporto::CartellaTemporanea cartella_{"vdadmin"};
    const std::filesystem::path& dir_ = cartella_.percorso();
    admin::Conteggi righe_;
    FileGuasti files_;
};

TEST_F(FileSicuriTest, AFailureAtAnyStepLeavesTheTargetAsItWas) {
    struct Caso {
        const char* nome;
        Passo guasto;
        bool sorgenteDanneggiata;
        bool righeDiverse;
    };
    const Caso casi[] = {
        {"copy fails", Passo::Copia, false, false},
        {"copy stops half-way", Passo::CopiaAMeta, false, false},
        {"disk full", Passo::Pieno, false, false},
        {"flush fails", Passo::Flush, false, false},
        {"source is damaged", Passo::Nessuno, true, false},
        {"copy holds other rows", Passo::Nessuno, false, true},
        {"rename fails", Passo::Rename, false, false},
    };
    const std::string prima = FileGuasti::leggi(in("copia.mdb"));
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string sorgente = archivio();
        if (c.sorgenteDanneggiata) {
            // The last page of an archive without deletions holds data.
            sorgente = in("rotto.mdb");
            std::string dati = prima;
            dati.replace(dati.size() - 100, 10, 10, 'x');
            std::ofstream(sorgente, std::ios::binary) << dati;
        }
        admin::Conteggi attesi = righe_;
        if (c.righeDiverse) ++attesi["Domanda"];
        files_.guasto = c.guasto;
        EXPECT_ANY_THROW(admin::CopiaArchivio(files_, sorgente, in("copia.mdb"), &attesi));
        EXPECT_TRUE(FileGuasti::leggi(in("copia.mdb")) == prima);
        fs::remove(in("rotto.mdb"));
        EXPECT_EQ(presenti(), (std::set<std::string>{"Vendral2005.mdb", "copia.mdb"}));
    }
    files_.guasto = Passo::Nessuno;
    admin::CopiaArchivio(files_, archivio(), in("copia.mdb"), &righe_);
    EXPECT_EQ(righeDi(in("copia.mdb")), righe_);
    EXPECT_EQ(presenti(), (std::set<std::string>{"Vendral2005.mdb", "copia.mdb"}));
}

TEST_F(FileSicuriTest, CompactionReplacesTheArchiveOrLeavesItUntouched) {
    struct Caso {
        const char* nome;
        Passo guasto;
        int riusciti;
        bool compressoPubblicato;  // the failure came after the compacted copy was whole
    };
    const Caso casi[] = {
        {"reading the archive fails", Passo::Copia, 0, false},
        {"disk full", Passo::Pieno, 0, false},
        {"compaction fails", Passo::Compattazione, 0, false},
        {"flushing the compacted copy fails", Passo::Flush, 0, false},
        {"naming the compacted copy fails", Passo::Rename, 0, false},
        {"copying it beside the archive fails", Passo::Copia, 1, true},
        {"flushing that copy fails", Passo::Flush, 1, true},
        {"renaming it over the archive fails", Passo::Rename, 1, true},
        {"nothing fails", Passo::Nessuno, 0, true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::ofstream(compresso()) << "copia compressa lasciata da una compattazione precedente";
        const std::string prima = FileGuasti::leggi(archivio());
        files_.guasto = c.guasto;
        files_.riusciti = c.riusciti;
        if (c.guasto != Passo::Nessuno) {
            EXPECT_ANY_THROW(admin::Compatta(files_, archivio(), compresso()));
            EXPECT_TRUE(FileGuasti::leggi(archivio()) == prima);
        } else {
            admin::Compatta(files_, archivio(), compresso());
            EXPECT_LT(fs::file_size(archivio()), prima.size());
            EXPECT_EQ(righeDi(archivio()), righe_);
        }
        // The compacted copy carries its name only when whole and checked.
        EXPECT_EQ(fs::exists(compresso()), c.compressoPubblicato);
        if (c.compressoPubblicato) {
            EXPECT_EQ(righeDi(compresso()), righe_);
        }
        for (const std::string& t : {archivio(), compresso()}) {
            EXPECT_FALSE(fs::exists(NomeTemporaneo(t)));
            EXPECT_FALSE(fs::exists(NomeTemporaneo(t) + "-journal"));
        }
    }
}

// Another connection tries to save once the archive has been read for the compaction: its save
// either fails (and knows it) or is in the compacted archive.
TEST_F(FileSicuriTest, ACompactionNeverDropsASaveMadeWhileItRuns) {
    bool salvata = false;
    files_.dopoLaCopia = [&] {
        store::Database altro = store::Database::open(archivio());
        altro.execute("PRAGMA busy_timeout = 0");
        try {
            altro.execute("INSERT INTO Domanda (NumRepertorio, CognomeRich) VALUES ('N', 'NUOVA')");
            salvata = true;
        } catch (const store::DbError& e) {
            EXPECT_EQ(e.number(), 5);
        }
    };
    admin::Compatta(files_, archivio(), compresso());
    store::Database db = store::Database::open(archivio());
    EXPECT_EQ(db.query("select count(*) from Domanda where NumRepertorio = 'N'").rows[0][0].toInt(),
              salvata ? 1 : 0);
    EXPECT_EQ(admin::ContaRighe(db).at("Domanda"), righe_.at("Domanda") + (salvata ? 1 : 0));
}

}  // namespace
