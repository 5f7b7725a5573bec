#pragma once
// The command line of vendral-regione: importa, riepilogo, duplicati, verifica and
// the usage text.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace regione {

struct Ambiente {
    std::ostream& out;
    std::ostream& err;
    bool terminale = false;         // out is a terminal: the import draws a progress bar on it
    std::string cartellaProgramma;  // where the report definitions are
    std::function<std::string()> adesso;  // the current moment, "YYYY-MM-DD HH:MM:SS"
    // The operator asked to stop (Ctrl-C): the import ends after the file it is loading.
    std::function<bool()> interrotto = [] { return false; };
};

// Exit status: 0 done, 1 a file refused, an application that differs from the rules or a
// failure, 2 a usage error.
int Esegui(const std::vector<std::string>& argomenti, const Ambiente& a);

extern const char* const kUso;

}  // namespace regione
