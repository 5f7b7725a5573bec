// Replacing a file never leaves it half-written: a failure at any step of the copy, the flush,
// the check or the rename leaves the target exactly as it was and no partial file behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "FileGuasti.h"
#include "admin/FileSicuri.h"
#include "admin/Manutenzione.h"
#include "store/Database.h"

namespace fs = std::filesystem;

namespace {

class FileSicuriTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string modello = (fs::temp_directory_path() / "vdadminXXXXXX").string();
        ASSERT_NE(mkdtemp(modello.data()), nullptr);
        dir_ = modello;
        // The archive has rows to keep and free pages left by deleted ones.
        store::Database db = store::Database::create(in("Vendral2005.mdb"));
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
    void TearDown() override { fs::remove_all(dir_); }

    std::string in(const std::string& name) const { return (dir_ / name).string(); }
    std::set<std::string> presenti() const {
        std::set<std::string> nomi;
        for (const auto& e : fs::directory_iterator(dir_)) nomi.insert(e.path().filename());
        return nomi;
    }

    fs::path dir_;
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
        {"flush fails", Passo::Flush, false, false},
        {"source is damaged", Passo::Nessuno, true, false},
        {"copy holds other rows", Passo::Nessuno, false, true},
        {"rename fails", Passo::Rename, false, false},
    };
    const std::string prima = FileGuasti::leggi(in("copia.mdb"));
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string sorgente = in("Vendral2005.mdb");
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
        EXPECT_ANY_THROW(admin::SostituisciFile(files_, sorgente, in("copia.mdb"), &attesi));
        EXPECT_TRUE(FileGuasti::leggi(in("copia.mdb")) == prima);
        EXPECT_FALSE(fs::exists(admin::NomeTemporaneo(in("copia.mdb"))));
        fs::remove(in("rotto.mdb"));
    }
    files_.guasto = Passo::Nessuno;
    admin::SostituisciFile(files_, in("Vendral2005.mdb"), in("copia.mdb"), &righe_);
    EXPECT_TRUE(FileGuasti::leggi(in("copia.mdb")) == FileGuasti::leggi(in("Vendral2005.mdb")));
    EXPECT_EQ(presenti(), (std::set<std::string>{"Vendral2005.mdb", "copia.mdb"}));
}

TEST_F(FileSicuriTest, CompactionReplacesTheArchiveOrLeavesItUntouched) {
    struct Caso {
        const char* nome;
        Passo guasto;
    };
    const Caso casi[] = {
        {"compaction fails", Passo::Compattazione},
        {"copy fails", Passo::Copia},
        {"flush fails", Passo::Flush},
        {"rename fails", Passo::Rename},
        {"nothing fails", Passo::Nessuno},
    };
    const std::string archivio = in("Vendral2005.mdb");
    const std::string compresso = in("Vendral2005_compresso.mdb");
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::ofstream(compresso) << "copia compressa lasciata da una compattazione precedente";
        const std::string prima = FileGuasti::leggi(archivio);
        files_.guasto = c.guasto;
        if (c.guasto != Passo::Nessuno) {
            EXPECT_ANY_THROW(admin::Compatta(files_, archivio, compresso));
            EXPECT_TRUE(FileGuasti::leggi(archivio) == prima);
        } else {
            admin::Compatta(files_, archivio, compresso);
            EXPECT_LT(fs::file_size(archivio), prima.size());
            store::Database db = store::Database::open(archivio);
            EXPECT_EQ(admin::ContaRighe(db), righe_);
            // The compacted copy stays beside the archive, whole.
            EXPECT_TRUE(FileGuasti::leggi(compresso) == FileGuasti::leggi(archivio));
        }
        EXPECT_FALSE(fs::exists(admin::NomeTemporaneo(archivio)));
    }
}

}  // namespace
