#include "application/frmPercheVD.h"

#include <memory>
#include <utility>

#include "ui/Program.h"

namespace application {

std::string TestoPerche(const frmPercheVD::Contenuto& c) {
    std::string testo = "Domanda " + c.numero;
    if (!c.richiedente.empty()) testo += " - " + c.richiedente;
    if (!c.dataDomanda.empty()) testo += " - presentata il " + c.dataDomanda;
    for (const std::string& blocco : c.blocchi) testo += "\n\n" + blocco;
    return testo;
}

frmPercheVD::frmPercheVD(ui::Program& program, std::string cartellaProgramma, Contenuto contenuto)
    : ui::Screen(program, "frmPercheVD", "Perché questo esito"),
      cartellaProgramma_(std::move(cartellaProgramma)),
      contenuto_(std::move(contenuto)) {
    auto& txtPerche = add(ui::Kind::TextBox, "txtPerche");
    txtPerche.multiLine = true;
    txtPerche.setLocked(true);
    txtPerche.setText(TestoPerche(contenuto_));

    auto& cmdStampa = add(ui::Kind::Button, "cmdStampa");
    cmdStampa.setCaption("&Stampa");
    cmdStampa.onClick = [this] { cmdStampa_Click(); };
    auto& cmdUscita = add(ui::Kind::Button, "cmdUscita");
    cmdUscita.setCaption("&Esci");
    cmdUscita.onClick = [this] { this->program().close(*this); };
    cancelButton = &cmdUscita;
}

void frmPercheVD::cmdStampa_Click() {
    crpPerche_.ReportFileName = cartellaProgramma_ + "/VD_Perche.rpt";
    crpPerche_.setFormula(0, "NumRepertorio=\"" + contenuto_.numero + "\"");
    crpPerche_.setFormula(1, "Richiedente=\"" + contenuto_.richiedente + "\"");
    crpPerche_.setFormula(2, "DataDomanda=\"" + contenuto_.dataDomanda + "\"");
    // One row per line; a blank line between blocks.
    std::vector<std::vector<std::string>> righe;
    for (const std::string& blocco : contenuto_.blocchi) {
        if (!righe.empty()) righe.push_back({""});
        std::size_t inizio = 0;
        for (std::size_t fine; (fine = blocco.find('\n', inizio)) != std::string::npos;
             inizio = fine + 1) {
            righe.push_back({blocco.substr(inizio, fine - inizio)});
        }
        righe.push_back({blocco.substr(inizio)});
    }
    crpPerche_.Avvia({"Riga"}, std::move(righe));
}

void MostraPerche(ui::Program& program, const std::string& cartellaProgramma,
                  frmPercheVD::Contenuto contenuto) {
    program.registerScreen(
        "frmPercheVD", [cartellaProgramma, contenuto = std::move(contenuto)](ui::Program& p) {
            return std::make_unique<frmPercheVD>(p, cartellaProgramma, contenuto);
        });
    program.show("frmPercheVD", true);
}

}  // namespace application
