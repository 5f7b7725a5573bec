#pragma once
// A report definition file: a short header of "key: value" lines, then sections opened by a
// line "== name": "stile" (CSS for every part), "intestazione" (HTML repeated at the top of
// every page) and "corpo" (the HTML flow). Both HTML parts are Mustache templates.
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reports {

enum class Orientamento { Verticale, Orizzontale };

struct Margini {  // millimetres
    double alto = 15;
    double destro = 12;
    double basso = 15;
    double sinistro = 12;
};

struct Definizione {
    std::string titolo;  // the layout's own heading; "" when the list title is used
    Orientamento orientamento = Orientamento::Verticale;
    Margini margini;
    std::string raggruppa;            // column whose consecutive equal values form a group
    std::vector<std::string> totali;  // columns summed per group and overall
    // Counts of rows by the value of one column, or by which of several flag columns is "1"
    // (then each with its label); each drawn as a chart, a pie when named in "torte", bars
    // otherwise.
    struct Distribuzione {
        std::string titolo;
        std::string colonna;
        std::vector<std::pair<std::string, std::string>> flag;  // column, label
    };
    std::vector<Distribuzione> distribuzioni;
    std::vector<std::string> torte;
    std::string stile;
    std::string intestazione;
    std::string corpo;
};

// A definition that cannot be read; the text says why, in Italian, with the line.
class DefinizioneErrata : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the text of a definition, UTF-8 within the limits of reports/Limiti.h, its templates
// read as the template engine will read them; throws DefinizioneErrata.
Definizione LeggiDefinizione(std::string_view testo);

// Reads a definition file; throws DefinizioneErrata also when the file is missing, is no regular
// file or is too large.
Definizione CaricaDefinizione(const std::string& percorso);

}  // namespace reports
