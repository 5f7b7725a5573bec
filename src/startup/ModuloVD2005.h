#pragma once
// The start-up module: where the archive lives, the program-wide state shared by the screens,
// the start-up procedure Main and the key filter FiltraNumeri.
#include <string>

namespace ui {
class Program;
}

namespace startup {

inline constexpr int kCopieMassime = 99;

// The data folder holds the archive and everything named from its base path.
struct Paths {
    std::string dataDir;              // e.g. ~/.local/share/Vendral2005/Dati
    std::string programDir;           // folder of the executable (report definitions)
    std::string basePath() const;     // dataDir + "/Vendral2005"
    std::string archive() const;      // basePath() + ".mdb"
    std::string compacted() const;    // basePath() + "_compresso.mdb"
    std::string backup(int n) const;  // basePath() + "_" + n + ".mdb", n = 1 to 99
};

// The temporary name beside a file under which its new content is written until it is whole.
std::string NomeTemporaneo(const std::string& target);

class ModuloVD2005 {
public:
    ModuloVD2005(ui::Program& program, Paths paths);

    ui::Program& program;
    Paths paths;

    // Program-wide state.
    bool NuovaDomanda = false;
    std::string NumRepertorioScelto;

    // Before Main: when the archive file is missing, asks whether to create a new one
    // (never silently) and creates it on Yes. Returns false when the program must end.
    bool EnsureArchive();

    // Opens the archive, removes nameless applications and household rows, counts the
    // configuration rows and shows the configuration or the login screen. Throws
    // store::DbError when the archive cannot be opened or a statement fails.
    void Main();

    // EnsureArchive, then Main; an archive that cannot be opened is reported with a message
    // box. Returns the exit status to end with, or -1 when the screens now run the program.
    int Start();
};

// Passes digits and Backspace, turns every other key into 0.
int FiltraNumeri(int key);

}  // namespace startup
