// Backups over a configured archive take the lowest free number, a full set of 99 is reported,
// a failed copy says why.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FileGuasti.h"
#include "admin/FileSicuri.h"
#include "admin/Manutenzione.h"
#include "startup/Configurazione.h"
#include "startup/ModuloVD2005.h"
#include "startup/Registry.h"
#include "store/Database.h"
#include "support/Cartella.h"
#include "support/Porte.h"
#include "ui/Program.h"

namespace fs = std::filesystem;

namespace {

class ManutenzioneTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths_ = {cartella_.testo(), cartella_.testo()};
        store::Database db = store::Database::create(paths_.archive());
        startup::ScriviConfigurazione(db, {"A00101", "AB", {2006, 7, 14}, {2006, 9, 30}, "u", "p"});
        db.close();
        ui::Ports ports;
        ports.messages = &messaggi_;
        ports.files = &files_;
        ports.busy = &busy_;
        program_ = std::make_unique<ui::Program>(ports);
        modulo_ = std::make_unique<startup::ModuloVD2005>(*program_, paths_);
        startup::RegistraSchermate(*modulo_);
        program_->show("frmInizio");
    }
    void TearDown() override {
        modulo_.reset();
        program_.reset();
    }

    std::set<int> copie() const {
        std::set<int> numeri;
        for (int n = 1; n <= startup::kCopieMassime; ++n) {
            if (fs::exists(paths_.backup(n))) numeri.insert(n);
        }
        return numeri;
    }

    supporto::CartellaTemporanea cartella_{"vdmenu"};
    startup::Paths paths_;
    FileGuasti files_;
    supporto::Messaggi messaggi_;
    ui::BusyPort busy_;
    std::unique_ptr<ui::Program> program_;
    std::unique_ptr<startup::ModuloVD2005> modulo_;
};

TEST_F(ManutenzioneTest, BackupTakesTheLowestFreeNumber) {
    struct Caso {
        const char* nome;
        std::set<int> presenti;
        Passo guasto;
        int nuova;  // 0: none made
        std::string messaggio;
    };
    std::set<int> tutte;
    for (int n = 1; n <= startup::kCopieMassime; ++n) tutte.insert(n);
    const Caso casi[] = {
        {"none yet", {}, Passo::Nessuno, 1, "Copia Archivio salvata !"},
        {"1, 2, 3 present", {1, 2, 3}, Passo::Nessuno, 4, "Copia Archivio salvata !"},
        {"2 freed", {1, 3, 4}, Passo::Nessuno, 2, "Copia Archivio salvata !"},
        {"all present", tutte, Passo::Nessuno, 0,
         "Tutte le 99 copie di salvataggio sono già presenti: eliminarne qualcuna."},
        {"copy fails", {1}, Passo::Copia, 0, "Copia Archivio NON salvata !\r\ncopia fallita"},
        {"rename fails", {}, Passo::Rename, 0, "Copia Archivio NON salvata !\r\nrinomina fallita"},
        {"disk full",
         {},
         Passo::Pieno,
         0,
         "Copia Archivio NON salvata !\r\nSpazio su disco insufficiente"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        for (int n = 1; n <= startup::kCopieMassime; ++n) fs::remove(paths_.backup(n));
        for (int n : c.presenti) std::ofstream(paths_.backup(n)) << "copia a mano";
        files_.guasto = c.guasto;
        messaggi_.mostrati.clear();

        admin::SalvataggioArchivi(*modulo_);

        std::set<int> attese = c.presenti;
        if (c.nuova != 0) {
            attese.insert(c.nuova);
            EXPECT_NO_THROW(admin::VerificaArchivio(paths_.backup(c.nuova)));
        }
        EXPECT_EQ(copie(), attese);
        EXPECT_EQ(messaggi_.testi(), std::vector<std::string>{c.messaggio});
        EXPECT_FALSE(fs::exists(startup::NomeTemporaneo(paths_.backup(1))));
    }
}

}  // namespace
