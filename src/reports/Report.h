#pragma once
// A report object of a screen (crpStampe, crpFabbisogno, crpStatistiche): the definition file,
// the numbered formulas and the title stay set between prints of the same screen. Starting it
// hands the rows of its row source, as they stand, to the report engine.
#include <functional>
#include <string>
#include <vector>

namespace store {
class Database;
class RowSource;
}  // namespace store

namespace ui {
class Screen;
struct ReportRequest;
}  // namespace ui

namespace reports {

class Report {
public:
    explicit Report(ui::Screen& screen) : screen_(screen) {}

    std::string ReportFileName;         // full path of the definition file
    std::string WindowTitle;            // list title; empty when none was set
    std::vector<std::string> Formulas;  // "Name=\"value\"" by number

    void setFormula(int n, const std::string& text);

    // Prints the rows of the source as they stand, dated by the program's clock, with the
    // household members of the applications when the definition prints them ({{#nucleo}}).
    // A missing or broken definition, or an engine failure, is reported to the operator
    // ("Impossibile stampare il report ...") and returns false; the screen stays usable.
    bool Avvia(store::RowSource& rows, const std::string& sql);
    // Prints rows the program made itself, by column name.
    bool Avvia(std::vector<std::string> colonne, std::vector<std::vector<std::string>> righe);

private:
    // Hands a request with the settings of this object and the rows `righe` puts in to the
    // report engine; the household members come from `archivio` when there is one.
    bool invia(const std::function<void(ui::ReportRequest&)>& righe, store::Database* archivio);

    ui::Screen& screen_;
};

}  // namespace reports
