#pragma once
// The start-up module: where the archive lives, what the screens share,
// and the start-up procedure Main.
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Program;
}

namespace startup {

class BloccoArchivio;

inline constexpr int kCopieMassime = 99;

// The data folder holds the archive and everything named from its base path.
struct Paths {
    std::string dataDir;              // e.g. ~/.local/share/Vendral2005/Dati
    std::string programDir;           // folder of the executable (report definitions)
    std::string basePath() const;     // dataDir + "/Vendral2005"
    std::string archive() const;      // basePath() + ".mdb"
    std::string compacted() const;    // basePath() + "_compresso.mdb"
    std::string backup(int n) const;  // basePath() + "_" + n + ".mdb", n = 1 to 99
    std::string lockFile() const;     // basePath() + ".lck"
};

// The temporary name beside a file under which its new content is written until it is whole.
std::string NomeTemporaneo(const std::string& target);

// Exit status of a program that found its data folder in use by another program.
inline constexpr int kEsitoArchivioInUso = 3;

class ModuloVD2005 {
public:
    ModuloVD2005(ui::Program& program, Paths paths);
    ~ModuloVD2005();

    ui::Program& program;
    Paths paths;

    // Opens the application screen on a new application (no number) or on the stored one of
    // the given number. Set by the application screen's folder when it registers; empty
    // until then.
    std::function<void(const std::optional<std::string>& numero)> ApriDomanda;

    // Before Main: when the archive file is missing, asks whether to create a new one
    // (never silently) and creates it on Yes. Returns false when the program must end.
    bool EnsureArchive();

    // Opens the archive, removes nameless applications and household rows, counts the
    // configuration rows and shows the configuration or the login screen. Throws
    // store::DbError when the archive cannot be opened or a statement fails.
    void Main();

    // Takes the data folder for this program until it ends, then removes the temporary files
    // an interrupted compaction, backup or extraction left. Unless Pronto, the program must end
    // without opening the archive: another program holds the folder (InUso) or the lock cannot
    // be made (Errore); the operator has been told.
    enum class Cartella { Pronto, InUso, Errore };
    Cartella Prepara();
    // Lets the data folder go: the program has ended.
    void Rilascia();

    // Prepara, EnsureArchive, then Main; an archive that cannot be opened is reported with a
    // message box. Returns the exit status to end with, or -1 when the screens now run the
    // program.
    int Start();

private:
    void RimuoviTemporanei();

    std::unique_ptr<BloccoArchivio> blocco_;
};

}  // namespace startup
