// The Region's consolidation at scale: 1,500 extraction files holding 1,000,000 applications
// are generated once (kept in the folder for later runs), then the real vendral-regione imports
// them into the embedded file and into PostgreSQL (a throwaway server of its own unless --pg
// names one) and runs riepilogo, duplicati and verifica. Reported per engine: wall time and peak
// memory of each command, measured on the program's own process.
//
//   vendral_bench_regione [--cartella DIR] [--file N] [--domande N] [--pg URI]
//                         [--motori sqlite,postgres]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "GeneraEstrazioni.h"
#include "regione/MotorePostgres.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Misura {
    double secondi = 0;
    double cpu = 0;  // user and system time of the program itself
    long memoriaMb = 0;
};

// Runs the program with its output in a log file; its time and peak resident memory.
Misura Lancia(const std::vector<std::string>& argomenti, const std::string& log) {
    std::vector<char*> argv;
    for (const std::string& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&azioni, STDOUT_FILENO, STDERR_FILENO);
    const auto inizio = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &azioni, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("impossibile avviare " + argomenti[0]);
    posix_spawn_file_actions_destroy(&azioni);
    int stato = 0;
    rusage uso{};
    wait4(pid, &stato, 0, &uso);
    const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - inizio;
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
        throw std::runtime_error(argomenti[1] + " non riuscito: vedere " + log);
    const auto secondi = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {durata.count(), secondi(uso.ru_utime) + secondi(uso.ru_stime), uso.ru_maxrss / 1024};
}

std::string Leggi(const std::string& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Comando(const std::string& riga) {
    FILE* p = popen(riga.c_str(), "r");
    if (p == nullptr) throw std::runtime_error("impossibile eseguire " + riga);
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
    if (pclose(p) != 0) throw std::runtime_error("non riuscito: " + riga);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

void Riga(const std::string& cosa, const Misura& m) {
    std::printf("  %-28s %8.2f s  (CPU %7.2f s) %6ld MB\n", cosa.c_str(), m.secondi, m.cpu,
                m.memoriaMb);
}

// Imports every file into db, then times the two statements (best of three) and the audit.
void Prova(const std::string& motore, const std::string& titolo, const std::string& db,
           const std::string& cartella) {
    const std::string programma = VENDRAL_REGIONE_EXE;
    std::printf("%s\n", titolo.c_str());
    Riga("importa " + cartella.substr(cartella.rfind('/') + 1),
         Lancia({programma, "importa", "--db", db, cartella + "/invii"},
                cartella + "/importa-" + motore + ".log"));
    for (const char* comando : {"riepilogo", "duplicati"}) {
        Misura migliore{1e9, 0, 0};
        for (int volta = 0; volta < 3; ++volta) {
            const Misura m = Lancia({programma, comando, "--db", db, "--csv",
                                     cartella + "/" + comando + "-" + motore + ".csv"},
                                    cartella + "/" + comando + "-" + motore + ".log");
            if (m.secondi < migliore.secondi) migliore = m;
        }
        Riga(std::string(comando) + " (migliore di 3)", migliore);
    }
    Riga("verifica", Lancia({programma, "verifica", "--db", db, "--csv",
                             cartella + "/verifica-" + motore + ".csv"},
                            cartella + "/verifica-" + motore + ".log"));
}

}  // namespace

int main(int argc, char** argv) {
    std::string cartella = fs::absolute("regione-bench").string();
    int file = 1500, domande = 1000000;
    std::string pg, motori = "sqlite,postgres";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--cartella")
            cartella = fs::absolute(v).string();
        else if (a == "--file")
            file = std::stoi(v);
        else if (a == "--domande")
            domande = std::stoi(v);
        else if (a == "--pg")
            pg = v;
        else if (a == "--motori")
            motori = v;
        else {
            std::cerr << "opzione sconosciuta: " << a << '\n';
            return 2;
        }
    }
    try {
        fs::create_directories(cartella + "/invii");
        const auto inizio = std::chrono::steady_clock::now();
        bench::GeneraEstrazioni(cartella + "/invii", file, domande);
        const std::chrono::duration<double> g = std::chrono::steady_clock::now() - inizio;
        std::printf("%d file, %d domande in %s (generati o trovati in %.0f s)\n\n", file, domande,
                    (cartella + "/invii").c_str(), g.count());

        if (motori.find("sqlite") != std::string::npos) {
            fs::remove(cartella + "/Regione.db");
            Prova("sqlite", "file incorporato (SQLCipher)", cartella + "/Regione.db", cartella);
        }
        if (motori.find("postgres") != std::string::npos) {
            const bool proprio = pg.empty();
            const std::string script = std::string(VENDRAL_SCRIPTS_DIR) + "/postgres-prova.sh";
            if (proprio) pg = Comando("bash " + script + " avvia " + cartella + "/pg 54339");
            try {
                auto admin = regione::ApriMotorePostgres(pg + "/postgres");
                admin->esegui("DROP DATABASE IF EXISTS regione_bench WITH (FORCE)", {});
                admin->esegui("CREATE DATABASE regione_bench", {});
                Prova("postgres", "PostgreSQL", pg + "/regione_bench", cartella);
            } catch (...) {
                if (proprio) Comando("bash " + script + " ferma " + cartella + "/pg");
                throw;
            }
            if (proprio) Comando("bash " + script + " ferma " + cartella + "/pg");
        }
        if (motori.find("sqlite") != std::string::npos &&
            motori.find("postgres") != std::string::npos) {
            for (const char* c : {"riepilogo", "duplicati", "verifica"}) {
                const bool uguali = Leggi(cartella + "/" + c + "-sqlite.csv") ==
                                    Leggi(cartella + "/" + c + "-postgres.csv");
                std::printf("%s: %s\n", c, uguali ? "stesso CSV sui due motori" : "CSV DIVERSI");
            }
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
