#pragma once
// A report object of a screen (crpStampe, crpFabbisogno, crpStatistiche): the definition file,
// the numbered formulas and the title stay set between prints of the same screen. Starting it
// hands the rows of its row source, as they stand, to the report engine.
#include <string>
#include <vector>

namespace store {
class RowSource;
}

namespace ui {
class Screen;
}

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

private:
    ui::Screen& screen_;
};

}  // namespace reports
