// One program per data folder: the lock is refused while another process holds it, and is free
// again as soon as that process ends, however it ends.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "startup/BloccoArchivio.h"
#include "support/Cartella.h"

namespace fs = std::filesystem;
using startup::BloccoArchivio;

namespace {

std::string leggi(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Cartella : public ::testing::Test {
protected:
    void SetUp() override { file_ = (dir_ / "Vendral2005.lck").string(); }

    // A child process that takes the lock, says so, and waits to be killed or told to end.
    pid_t figlioCheBlocca(bool& preso) {
        int pronto[2], fine[2];
        EXPECT_EQ(pipe(pronto), 0);
        EXPECT_EQ(pipe(fine), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            {
                const auto blocco = BloccoArchivio::Prendi(file_);
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

    supporto::CartellaTemporanea cartella_{"vdblocco"};
    const std::filesystem::path& dir_ = cartella_.percorso();
    std::string file_;
    int fineFiglio_ = -1;
};

TEST_F(Cartella, AnotherProcessHoldsTheLockUntilItEndsOrIsKilled) {
    for (const bool ucciso : {false, true}) {
        SCOPED_TRACE(ucciso ? "killed" : "ended");
        bool preso = false;
        const pid_t figlio = figlioCheBlocca(preso);
        ASSERT_TRUE(preso);
        EXPECT_FALSE(BloccoArchivio::Prendi(file_));
        if (ucciso) {
            kill(figlio, SIGKILL);
        } else {
            EXPECT_EQ(write(fineFiglio_, "x", 1), 1);
        }
        int stato = 0;
        waitpid(figlio, &stato, 0);
        close(fineFiglio_);
        // A killed program leaves its file, naming it; the lock died with it all the same.
        EXPECT_EQ(fs::exists(file_), ucciso);
        if (ucciso) {
            EXPECT_NE(leggi(file_).find("pid=" + std::to_string(figlio)), std::string::npos);
        }
        auto blocco = BloccoArchivio::Prendi(file_);
        ASSERT_TRUE(blocco);
        EXPECT_NE(leggi(file_).find("pid=" + std::to_string(getpid())), std::string::npos);
    }
}

}  // namespace
