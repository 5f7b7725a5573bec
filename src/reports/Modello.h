#pragma once
// Rendering of a report definition with the settings and rows of a started report: the
// Mustache templates are filled, then the body is cut into units (top-level elements and the
// rows of top-level tables) that a page layout can place one page at a time.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reports/ControlloHtml.h"
#include "reports/Definizione.h"
#include "ui/Ports.h"

namespace reports {

// A top-level table of the body: its opening tag and the header repeated on every page.
struct Tabella {
    std::string apertura;  // "<table ...>"
    std::string testa;     // "<colgroup>" and "<thead>" parts, as written
};

struct Unita {
    std::string html;
    int tabella = -1;          // index in Documento::tabelle for a table row, -1 otherwise
    bool nuovaPagina = false;  // the element asks for "page-break-before: always"
};

struct Grafico {
    std::string titolo;
    bool torta = false;
    std::vector<std::pair<std::string, double>> voci;
};

struct Documento {
    std::string titolo;  // for windows and files: the layout's heading or the list title
    Orientamento orientamento = Orientamento::Verticale;
    Margini margini;
    std::string stile;
    std::string intestazione;  // HTML at the top of every page
    std::vector<Tabella> tabelle;
    std::vector<Unita> unita;
    std::vector<Grafico> grafici;  // <img src="grafico:N"> draws distribution N
    std::string cartella;          // the reports folder, where its images are
};

// A table row of plain-text cells: one <tr> of <td> or <th> elements holding text and
// character references only. Rows of one shape (the same tags) are laid out alike.
struct RigaSemplice {
    std::string forma;               // the row's tags, without the texts
    std::vector<std::string> celle;  // each cell's text, references decoded, spaces collapsed
};

// The plain-text cells of a table row; nothing when the row holds other elements.
std::optional<RigaSemplice> LeggiRigaSemplice(std::string_view tr);

// A value of the row source in the form a reader expects, chosen by the column: amounts
// "1.234,50", dates dd/mm/yyyy, flags "Sì"/"No", letter codes by their description.
std::string FormaVisibile(const std::string& colonna, const std::string& valore);

// "Name=\"value\"" as name and value; the quotes are optional.
std::pair<std::string, std::string> LeggiFormula(const std::string& formula);

// The counts of one distribution over the rows, in natural order of the values.
Grafico Distribuisci(const Definizione::Distribuzione& dist, const ui::ReportRequest& r);

// Fills the templates and checks what they produce: within the limits of reports/Limiti.h, the
// heading and the body well formed (see Dividi), the images files of the reports folder.
// Throws DefinizioneErrata, the reason headed by the part ("stile", "intestazione", "corpo").
Documento Componi(const Definizione& d, const ui::ReportRequest& r, const std::string& dataStampa);

// Cuts an HTML flow into units, checking it as a text document will read it: every element
// closed, nesting and the size of each unit within limits, attributes and style sheets checked
// (ControlloHtml.h); the images named are added to riferimenti. Throws DefinizioneErrata.
std::vector<Unita> Dividi(const std::string& html, std::vector<Tabella>& tabelle,
                          Riferimenti& riferimenti);

}  // namespace reports
