#pragma once
// "Perché questo esito": the reasoning behind the verdict and the amounts of the application
// on the application screen, read-only, and its print. Opening it changes and stores nothing.
#include <string>
#include <vector>

#include "reports/Report.h"
#include "ui/Screen.h"

namespace application {

class frmPercheVD : public ui::Screen {
public:
    struct Contenuto {
        std::string numero;       // register number
        std::string richiedente;  // surname and first name
        std::string dataDomanda;  // presentation date as typed
        // The explanation in blocks of lines: the verdict, each step, the differences.
        std::vector<std::string> blocchi;
    };

    frmPercheVD(ui::Program& program, std::string cartellaProgramma, Contenuto contenuto);

private:
    void cmdStampa_Click();

    std::string cartellaProgramma_;
    Contenuto contenuto_;
    reports::Report crpPerche_{*this};
};

// The whole explanation as one text: a heading with the number, the applicant and the date,
// then the blocks, a blank line between them.
std::string TestoPerche(const frmPercheVD::Contenuto& c);

// Shows the screen, modal, over the active one.
void MostraPerche(ui::Program& program, const std::string& cartellaProgramma,
                  frmPercheVD::Contenuto contenuto);

}  // namespace application
