// One program per data folder: the lock is refused while another holder, in this process or in
// another, keeps it, and is free again as soon as that holder ends, however it ends.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "startup/BloccoArchivio.h"
#include "startup/ModuloVD2005.h"
#include "ui/Program.h"

namespace fs = std::filesystem;
using startup::BloccoArchivio;

namespace {

std::string leggi(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Cartella : public ::testing::Test {
protected:
    void SetUp() override {
        std::string modello = (fs::temp_directory_path() / "vdbloccoXXXXXX").string();
        ASSERT_NE(mkdtemp(modello.data()), nullptr);
        dir_ = modello;
        paths_ = {dir_.string(), dir_.string()};
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A child process that takes the lock, says so, and waits to be killed or told to end.
    pid_t figlioCheBlocca(bool& preso) {
        int pronto[2], fine[2];
        EXPECT_EQ(pipe(pronto), 0);
        EXPECT_EQ(pipe(fine), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            {
                const auto blocco = BloccoArchivio::Prendi(paths_.lockFile());
                const char esito = blocco ? 'S' : 'N';
                char c;
                if (write(pronto[1], &esito, 1) != 1 || read(fine[0], &c, 1) < 0) _exit(2);
                // Told to end: it lets the lock go as a program that ends normally.
            }
            _exit(0);
        }
        char esito = 'N';
        EXPECT_EQ(read(pronto[0], &esito, 1), 1);
        preso = esito == 'S';
        close(pronto[0]);
        close(pronto[1]);
        close(fine[0]);
        fineFiglio_ = fine[1];
        return pid;
    }

    fs::path dir_;
    startup::Paths paths_;
    int fineFiglio_ = -1;
};

TEST_F(Cartella, ASecondHolderInTheSameProcessIsRefusedUntilTheFirstEnds) {
    auto primo = BloccoArchivio::Prendi(paths_.lockFile());
    ASSERT_TRUE(primo);
    EXPECT_NE(leggi(paths_.lockFile()).find("pid=" + std::to_string(getpid())), std::string::npos);
    EXPECT_FALSE(BloccoArchivio::Prendi(paths_.lockFile()));
    primo.reset();
    EXPECT_FALSE(fs::exists(paths_.lockFile()));
    EXPECT_TRUE(BloccoArchivio::Prendi(paths_.lockFile()));
}

TEST_F(Cartella, AnotherProcessHoldsTheLockUntilItEndsOrIsKilled) {
    for (const bool ucciso : {false, true}) {
        SCOPED_TRACE(ucciso ? "killed" : "ended");
        bool preso = false;
        const pid_t figlio = figlioCheBlocca(preso);
        ASSERT_TRUE(preso);
        EXPECT_FALSE(BloccoArchivio::Prendi(paths_.lockFile()));
        if (ucciso) {
            kill(figlio, SIGKILL);
        } else {
            EXPECT_EQ(write(fineFiglio_, "x", 1), 1);
        }
        int stato = 0;
        waitpid(figlio, &stato, 0);
        close(fineFiglio_);
        // A killed program leaves its file, naming it; the lock died with it all the same.
        EXPECT_EQ(fs::exists(paths_.lockFile()), ucciso);
        if (ucciso) {
            EXPECT_NE(leggi(paths_.lockFile()).find("pid=" + std::to_string(figlio)),
                      std::string::npos);
        }
        auto blocco = BloccoArchivio::Prendi(paths_.lockFile());
        ASSERT_TRUE(blocco);
        EXPECT_NE(leggi(paths_.lockFile()).find("pid=" + std::to_string(getpid())),
                  std::string::npos);
    }
}

// Recorded message boxes, and files on disk with the media folder inside the data folder.
struct Porte : ui::MessagePort, ui::FilePort {
    explicit Porte(std::string media) : media_(std::move(media)) {}
    ui::Answer show(const ui::Message& m) override {
        testi.push_back(m.text);
        return m.defaultButton;
    }
    bool exists(const std::string& path) override { return fs::exists(path); }
    void rename(const std::string& from, const std::string& to) override { fs::rename(from, to); }
    void remove(const std::string& path) override { fs::remove(path); }
    bool ready(const std::string&) override { return true; }
    std::string mediaFolder() override { return media_; }

    std::vector<std::string> testi;
    std::string media_;
};

TEST_F(Cartella, StartRemovesOnlyTheTemporariesOfInterruptedRunsAndOnlyWhenItHoldsTheFolder) {
    fs::create_directory(dir_ / "media");
    const std::set<std::string> temporanei = {
        "Vendral2005.mdb.parziale",
        "Vendral2005_compresso.mdb.parziale",
        "Vendral2005_1.mdb.parziale",
        "Vendral2005_99.mdb.parziale-journal",
        "media/Vendral2005_A00101.mdb.parziale",
        "media/Vendral2005_A00101.mdb.parziale-journal",
    };
    const std::set<std::string> altri = {
        "Vendral2005.mdb",
        "Vendral2005.mdb-journal",
        "Vendral2005_compresso.mdb",
        "Vendral2005_1.mdb",
        "Vendral2005_100.mdb.parziale",
        "appunti.parziale",
        "media/Vendral2005_A00101.mdb",
        "media/altro.mdb.parziale",
    };
    for (const auto& set : {temporanei, altri}) {
        for (const std::string& nome : set) std::ofstream(dir_ / nome) << "x";
    }
    Porte porte((dir_ / "media").string());
    ui::Ports ports;
    ports.messages = &porte;
    ports.files = &porte;
    ui::Program program(ports);
    auto presenti = [&] {
        std::set<std::string> nomi;
        for (const auto& e : fs::recursive_directory_iterator(dir_)) {
            if (e.is_regular_file() && e.path().filename() != "Vendral2005.lck")
                nomi.insert(fs::relative(e.path(), dir_).string());
        }
        return nomi;
    };

    // Refused: the files may be another program's work in progress.
    {
        auto altro = BloccoArchivio::Prendi(paths_.lockFile());
        startup::ModuloVD2005 modulo(program, paths_);
        EXPECT_EQ(modulo.Start(), startup::kEsitoArchivioInUso);
        EXPECT_EQ(porte.testi, std::vector<std::string>{
                                   "L'archivio dati è già in uso da un altro programma Vendral "
                                   "2005 su questo computer o in rete."});
        std::set<std::string> tutti = temporanei;
        tutti.insert(altri.begin(), altri.end());
        EXPECT_EQ(presenti(), tutti);
    }
    startup::ModuloVD2005 modulo(program, paths_);
    EXPECT_EQ(modulo.Prepara(), startup::ModuloVD2005::Cartella::Pronto);
    EXPECT_EQ(presenti(), altri);
}

}  // namespace
