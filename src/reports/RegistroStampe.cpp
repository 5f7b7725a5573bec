#include "reports/RegistroStampe.h"

#include "reports/Report.h"
#include "reports/frmStampeVD.h"
#include "startup/ModuloVD2005.h"
#include "startup/frmInizio.h"
#include "ui/Program.h"

namespace reports {

namespace {

// The statistics report of the main menu, on the rows its last activation read, with the
// municipality and the workstation as the menu shows them. Every setting is made again at each
// print, so a report object made for the print behaves as one kept by the menu.
void StampaStatistiche(startup::ModuloVD2005& modulo) {
    auto* menu = dynamic_cast<startup::frmInizio*>(modulo.program.loaded("frmInizio"));
    if (menu == nullptr) return;
    store::RowSource* datDomanda = menu->datDomanda();
    // Without a connection the menu's activation has already told the operator.
    if (datDomanda == nullptr) return;
    Report crpStatistiche(*menu);
    crpStatistiche.setFormula(0, "Comune=\"" + menu->control("txtComune").text() + "\"");
    crpStatistiche.setFormula(1, "PuntoLavoro=\"" + menu->control("txtPuntoLavoro").text() + "\"");
    crpStatistiche.ReportFileName = modulo.paths.programDir + "/VD_stat.rpt";
    crpStatistiche.Avvia(*datDomanda, "");
}

}  // namespace

void RegistraSchermate(startup::ModuloVD2005& modulo) {
    modulo.program.registerScreen("frmStampeVD", [&modulo](ui::Program& p) {
        return std::make_unique<frmStampeVD>(p, modulo);
    });
    modulo.program.registerActivity("Statistiche", [&modulo] { StampaStatistiche(modulo); });
}

}  // namespace reports
