// Household income, band and rent incidence; the social-weakness conditions and the three
// increment options they make available.
#include "rules/Calcoli.h"
#include "rules/Campi.h"
#include "rules/Numeri.h"
#include "rules/Regole.h"

namespace rules {

namespace {

struct Opzione {
    const char* box;
    const char* percentuale;
};
constexpr Opzione OpzioneContrib{"chkIncremContrib", "txtIncremPercContrib"};
constexpr Opzione OpzioneLimiteRed{"chkIncremLimiteRed", "txtIncremPercLimiteRed"};
constexpr Opzione OpzioneFasciaA{"chkIncremLimiteFascia", "txtIncremPercFasciaA"};

// A percentage whose option is off holds "0" and cannot be edited.
void AzzeraPercentuale(Contesto& x, const Opzione& o) {
    ui::Control& campo = x.c(o.percentuale);
    campo.setEnabled(false);
    campo.setText("0");
}

// An available option: its percentage is editable only while the option is ticked.
void AllineaPercentuale(Contesto& x, const Opzione& o) {
    if (Spuntato(x.c(o.box))) {
        x.c(o.percentuale).setEnabled(true);
    } else {
        AzzeraPercentuale(x, o);
    }
}

// At most one option is ticked; the program's own changes (BloccaEventi) leave the others.
void CambioOpzione(Contesto& x, const Opzione& propria, const Opzione& altra1,
                   const Opzione& altra2) {
    if (Spuntato(x.c(propria.box)) && !x.BloccaEventi) {
        x.c(altra1.box).setValue(0);
        x.c(altra2.box).setValue(0);
    }
    if (!Spuntato(x.c(propria.box))) {
        AzzeraPercentuale(x, propria);
        return;
    }
    AzzeraPercentuale(x, altra1);
    AzzeraPercentuale(x, altra2);
    ui::Control& campo = x.c(propria.percentuale);
    campo.setEnabled(true);
    // The band-A option starts from the highest increase.
    if (&propria == &OpzioneFasciaA && campo.text() == "0") campo.setText("25");
}

}  // namespace

void SommaReddito(Contesto& x) {
    double somma = 0;
    for (int i = 0; i < RigheNucleo; ++i) somma += ImportoCampo(x.c("txtNucleoRedditoEur", i));
    const std::string testo = Formato(somma, "#,##0.00");
    x.c("txtSommaRedditiNucleoEur").setText(testo);
    x.c("txtRedditoLordoEur").setText(testo);
    CalcolaIncidenza(x);
}

void CalcolaIncidenza(Contesto& x) {
    int componenti = 0;
    int figli = 0;
    for (int i = 0; i < RigheNucleo; ++i) {
        if (SenzaSpazi(x.c("txtNucleoNome", i).text()).empty()) continue;
        ++componenti;
        if (x.c("cmbNucleoParent", i).boundValue() == "3") ++figli;
    }
    x.c("txtNumComponNucleo").setText(std::to_string(componenti));
    x.c("txtNumFigliCarico").setText(std::to_string(figli));

    const double lordo = ImportoCampo(x.c("txtRedditoLordoEur"));
    const auto figliLetti = static_cast<int>(ValoreCampo(x.c("txtNumFigliCarico")));
    const double accesso = RedditoAccesso(lordo, figliLetti);
    x.c("txtRedditoAccessoEur").setText(Formato(accesso, "#,##0.00"));
    x.c("txtFascia")
        .setText(Fascia(accesso, Spuntato(x.c("chkIncremLimiteFascia")),
                        PercentualeCampo(x.c("txtIncremPercFasciaA"))));
    const double canone = ImportoCampo(x.c("txtCanoneTabComuneEur"));
    x.c("txtIncidenzaCanRed").setText(Formato(Incidenza(canone, accesso), "#0.#0"));

    VerificaDebolSoc(x);
    VerificaDomandaAmmessa(x);
}

void VerificaDebolSoc(Contesto& x) {
    const bool debole = Spuntato(x.c("chkDebolUltra65")) || Spuntato(x.c("chkDebolInvalidi")) ||
                        Spuntato(x.c("chkDebolSfratto")) || Spuntato(x.c("chkDebolAltre"));
    ui::Control& fasciaA = x.c(OpzioneFasciaA.box);
    ui::Control& limiteRed = x.c(OpzioneLimiteRed.box);
    ui::Control& contrib = x.c(OpzioneContrib.box);

    if (!debole) {
        x.c("chkDebolezzaSoc").setValue(0);
        x.BloccaEventi = true;
        limiteRed.setValue(0);
        fasciaA.setValue(0);
        contrib.setValue(0);
        x.BloccaEventi = false;
        for (ui::Control* box : {&limiteRed, &fasciaA, &contrib}) box->setEnabled(false);
        for (const Opzione* o : {&OpzioneLimiteRed, &OpzioneFasciaA, &OpzioneContrib}) {
            x.c(o->percentuale).setEnabled(false);
        }
        for (const Opzione* o : {&OpzioneLimiteRed, &OpzioneFasciaA, &OpzioneContrib}) {
            x.c(o->percentuale).setText("0");
        }
        return;
    }

    x.c("chkDebolezzaSoc").setValue(1);
    // The band-A option helps only an income for access above band A by at most 25 %.
    const double accesso = ImportoCampo(x.c("txtRedditoAccessoEur"));
    if (accesso > LimiteFasciaA && accesso <= LimiteFasciaAMassimo) {
        fasciaA.setEnabled(true);
        x.c(OpzioneFasciaA.percentuale).setEnabled(Spuntato(fasciaA));
    } else {
        fasciaA.setEnabled(false);
        AzzeraPercentuale(x, OpzioneFasciaA);
        x.BloccaEventi = true;
        fasciaA.setValue(0);
        x.BloccaEventi = false;
    }
    // The income-limit option only matters in band "B".
    if (x.c("txtFascia").text() == "A") {
        x.BloccaEventi = true;
        limiteRed.setValue(0);
        limiteRed.setEnabled(false);
        AzzeraPercentuale(x, OpzioneLimiteRed);
        x.BloccaEventi = false;
    } else {
        limiteRed.setEnabled(true);
        AllineaPercentuale(x, OpzioneLimiteRed);
    }
    contrib.setEnabled(true);
    AllineaPercentuale(x, OpzioneContrib);
}

void chkIncremContrib_Click(Contesto& x) {
    CambioOpzione(x, OpzioneContrib, OpzioneLimiteRed, OpzioneFasciaA);
    VerificaDomandaAmmessa(x);
}

void chkIncremLimiteRed_Click(Contesto& x) {
    CambioOpzione(x, OpzioneLimiteRed, OpzioneContrib, OpzioneFasciaA);
    VerificaDomandaAmmessa(x);
}

void chkIncremLimiteFascia_Click(Contesto& x) {
    CambioOpzione(x, OpzioneFasciaA, OpzioneContrib, OpzioneLimiteRed);
    CalcolaIncidenza(x);
}

}  // namespace rules
