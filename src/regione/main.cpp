// vendral-regione: the Region's consolidation of the municipalities' extraction files.
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "regione/Comandi.h"
#include "store/DateTime.h"

namespace {

volatile std::sig_atomic_t interrotto = 0;

// During an import, the first Ctrl-C (or termination request) lets it finish the file it is
// loading and clean up; a second one ends the program at once.
void Interrompi(int segnale) {
    interrotto = 1;
    std::signal(segnale, SIG_DFL);
}

std::string Adesso() {
    const std::time_t t = std::time(nullptr);
    std::tm locale{};
    localtime_r(&t, &locale);
    const store::DateTime d{{locale.tm_year + 1900, locale.tm_mon + 1, locale.tm_mday},
                            locale.tm_hour,
                            locale.tm_min,
                            locale.tm_sec};
    return d.iso();
}

// The report definitions are installed beside the program.
std::string CartellaProgramma(const char* argv0) {
    std::error_code ec;
    const std::filesystem::path eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return eseguibile.parent_path().string();
    return std::filesystem::absolute(argv0, ec).parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    if (!argomenti.empty() && argomenti[0] == "importa") {
        std::signal(SIGINT, Interrompi);
        std::signal(SIGTERM, Interrompi);
    }
    const regione::Ambiente ambiente{
        std::cout, std::cerr, isatty(STDOUT_FILENO) == 1, CartellaProgramma(argv[0]), Adesso, [] {
            return interrotto != 0;
        }};
    return regione::Esegui(argomenti, ambiente);
}
