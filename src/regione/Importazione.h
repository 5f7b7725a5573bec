#pragma once
// The import of one extraction file sent by a municipality: the file is read from a private
// copy, checked (an archive of the program, with its password, intact, with the expected
// tables and a configuration row naming the municipality, every register number under that
// municipality and collection point) and loaded in one transaction that replaces whatever the
// same municipality and collection point had sent before.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "regione/Motore.h"
#include "store/Database.h"

namespace regione {

// Why a file was refused, in Italian. Nothing of the file is kept.
class Rifiuto : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Invio {
    std::string codComune;
    std::string puntoLavoro;
    std::int64_t domande = 0;
    std::int64_t componenti = 0;
    std::int64_t componentiSenzaDomanda = 0;  // household rows of no application: not imported
    bool sostituito = false;                  // an earlier sending was replaced
};

// Called with the applications loaded so far and the file's total.
using Avanzamento = std::function<void(std::int64_t fatte, std::int64_t totali)>;

// A file sent by a municipality, read and checked, ready to be loaded. Preparing the next file
// may run on another thread while the current one loads.
class FileInviato {
public:
    // Copies, opens and checks the file; throws Rifiuto.
    explicit FileInviato(const std::string& percorso);
    ~FileInviato();
    FileInviato(const FileInviato&) = delete;
    FileInviato& operator=(const FileInviato&) = delete;

    // Loads the file in one transaction; adesso is the moment recorded with the sending.
    // Throws Rifiuto when the file cannot be imported (the Region's database is left as it
    // was), ErroreDatabase when the Region's database fails.
    Invio carica(Motore& m, const std::string& adesso, const Avanzamento& avanzamento = {});

private:
    struct Dati;
    std::unique_ptr<Dati> d_;
};

// Opens a file as a municipality's archive, or says in a Rifiuto why it is not one.
store::Database ApriEstrazione(const std::string& percorso);

// What every register number of a sending begins with: municipality code, "2005",
// collection point.
std::string PrefissoRepertorio(const std::string& codComune, const std::string& puntoLavoro);

// A value of the archive in the Region's type for the column; nothing when it has no such
// reading (a text that is not a number in a numeric column, a text that is not UTF-8).
std::optional<store::Value> Converti(const store::Value& v, Tipo tipo);

// Well-formed UTF-8 without NUL characters.
bool Utf8Valido(std::string_view s);

}  // namespace regione
