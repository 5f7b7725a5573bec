#pragma once
// The application screen: one application shown, typed and registered. It holds one pending
// Domanda row (being inserted for a new application, being edited otherwise) and moves values
// between that row and its controls; the rules of the call run from its handlers.
#include <memory>
#include <string>

#include "reports/Report.h"
#include "rules/Contesto.h"
#include "store/Database.h"
#include "store/RowSource.h"
#include "ui/Screen.h"

namespace startup {
class ModuloVD2005;
}
namespace store {
class DbError;
}

namespace application {

class frmBaseVD : public ui::Screen {
public:
    frmBaseVD(ui::Program& program, startup::ModuloVD2005& modulo);

    void onActivate() override;
    void onUnload() override;
    // Closing through the title bar discards the pending row, as cmdUscita does.
    void onCloseRequest() override;

private:
    void creaIntestazione();
    void creaPaginaNucleo();
    void creaPaginaAlloggio();
    void creaPaginaStatistica();
    void creaPaginaComune();
    void creaPulsanti();
    // Check box whose change makes its partner the opposite, unless BloccaEventi is set.
    void accoppia(ui::Control& a, ui::Control& b);

    void apriDati();
    // Opens a new application or the one chosen on the search screen; closes the screen when
    // no register number is left, the chosen application is missing or the engine fails.
    void Attiva();
    void ValorizzaControlli(int modo);
    void PulisciControlli();
    void ValorizzaRs();
    // The pending row a save writes: the new row being inserted, or the stored row of this
    // number found again and edited.
    void apriRigaPendente(const std::string& numero);
    // Tied controls from the pending or current row, and back.
    void mostraCampiLegati();
    void scriviCampi(const store::DateTime& adesso);
    void annullaRigaPendente();
    // The receipt of the application as stored, whatever the screen shows.
    void cmdStampa_Click();
    void chiudi();
    // An engine failure outside the save.
    void segnala(const store::DbError& e);

    startup::ModuloVD2005& modulo_;
    rules::Contesto x_;
    store::Database db_;
    std::unique_ptr<store::RowSource> datDomanda_;
    std::unique_ptr<store::RowSource> datNucleo_;
    std::unique_ptr<store::RowSource> datConfig_;
    std::unique_ptr<store::RowSource> datMax_;
    std::unique_ptr<store::RowSource> datStampa_;
    reports::Report crpStampe_{*this};
};

}  // namespace application
