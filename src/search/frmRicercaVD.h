#pragma once
// The search screen: lists the applications by the first letters of the applicant's surname,
// reopens the chosen one in the application form or deletes it with its household rows.
#include <memory>

#include "search/ElencoDomande.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}

namespace search {

class frmRicercaVD : public ui::Screen {
public:
    frmRicercaVD(ui::Program& program, startup::ModuloVD2005& modulo);

    void onLoad() override;
    void onActivate() override;

private:
    void Filtra();
    void ApriDomanda();
    void EliminaDomanda();
    // Re-runs the list and shows its rows and their number, the first row current.
    void AggiornaElenco();
    // The grid's current row, or -1 after telling the operator that none is chosen.
    int RigaScelta();

    startup::ModuloVD2005& modulo_;
    std::shared_ptr<ElencoDomande> datDomanda_;
    bool primaAttivazione_ = true;
    int numRecTot_ = 0;
};

}  // namespace search
