// Numeric entry: the amounts, percentages, surface and rooms of the application screen.
#include <algorithm>

#include "rules/Campi.h"
#include "rules/Numeri.h"
#include "rules/Regole.h"

namespace rules {

namespace {

// Only a text that already reads as a number is read as it stands.
std::string Leggibile(const std::string& testo) {
    return LeggiNumero(testo) ? testo : NormalizzaNumero(testo);
}

// The field with its points turned into commas, then shown with "#,##0.00".
void FormattaImporto(ui::Control& campo) {
    campo.setText(NormalizzaNumero(campo.text()));
    campo.setText(Formato(Valore(campo.text()), "#,##0.00"));
}

// Percentage and surface: "#0.00" at single precision, "0" when empty.
double FormattaPercentuale(ui::Control& campo) {
    campo.setText(NormalizzaNumero(campo.text()));
    if (campo.text().empty()) {
        campo.setText("0");
    } else {
        campo.setText(Formato(static_cast<float>(Valore(campo.text())), "#0.00"));
    }
    return PercentualeCampo(campo);
}

bool Conferma(Contesto& x, const std::string& testo) {
    return x.f.message(testo + "\r\nSi conferma il dato?", ui::Buttons::YesNo, ui::Icon::None,
                       "Attenzione", ui::Answer::Yes) == ui::Answer::Yes;
}

}  // namespace

std::string NormalizzaNumero(const std::string& testo) {
    std::string t = testo;
    std::replace(t.begin(), t.end(), '.', ',');
    if (t.empty() || LeggiNumero(t)) return t;
    std::string filtrato;
    bool separatore = false;
    for (char ch : t) {
        if (ch >= '0' && ch <= '9') {
            filtrato += ch;
        } else if (ch == ',' && !separatore) {
            filtrato += ch;
            separatore = true;
        }
    }
    return filtrato;
}

double ValoreCampo(const ui::Control& campo) {
    return Valore(Leggibile(campo.text()));
}

double ImportoCampo(const ui::Control& campo) {
    return Valore(FormatoTesto(Leggibile(campo.text()), "#.00"));
}

double PercentualeCampo(const ui::Control& campo) {
    return static_cast<float>(ValoreCampo(campo));
}

std::string SenzaSpazi(const std::string& testo) {
    const auto first = testo.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return testo.substr(first, testo.find_last_not_of(' ') + 1 - first);
}

void EntrataImporto(Contesto&, ui::Control& campo) {
    campo.setText(FormatoTesto(Leggibile(campo.text()), "#.00"));
}

void UscitaCanone(Contesto& x) {
    ui::Control& canone = x.c("txtCanoneTotaleEur");
    canone.setText(NormalizzaNumero(canone.text()));
    const double valore = Valore(canone.text());
    if (valore > 18000 && !Conferma(x, "Il canone indicato supera 18000 Euro.")) {
        x.f.setFocus(canone);
    }
    canone.setText(Formato(valore, "#,##0.00"));
    x.c("txtCanoneTabComuneEur").setText(canone.text());
    SommaReddito(x);
}

void UscitaRedditoComponente(Contesto& x, int riga) {
    ui::Control& reddito = x.c("txtNucleoRedditoEur", riga);
    FormattaImporto(reddito);
    if (reddito.text() == "0,00" && x.c("txtNucleoNome", riga).text().empty()) {
        reddito.setText("");
    }
    SommaReddito(x);
}

void UscitaImportoComune(Contesto& x, ui::Control& campo) {
    FormattaImporto(campo);
    CalcolaContributo(x);
}

void UscitaPercentuale(Contesto& x, ui::Control& campo) {
    const double valore = FormattaPercentuale(campo);
    if (valore > 25 || valore < 0) {
        x.f.message("Il valore deve essere compreso tra 0 e 25");
        x.f.setFocus(campo);
        return;
    }
    if (campo.name() == "txtIncremPercFasciaA") {
        CalcolaIncidenza(x);
    } else {
        VerificaDomandaAmmessa(x);
    }
}

void UscitaSuperficie(Contesto& x) {
    ui::Control& superficie = x.c("txtSuperfAlloggio");
    const double valore = FormattaPercentuale(superficie);
    if (valore >= 1000) {
        x.f.message("Il valore deve essere inferiore a 1000");
        x.f.setFocus(superficie);
    } else if (valore > 200 && !Conferma(x, "La superficie indicata supera 200 mq.")) {
        x.f.setFocus(superficie);
    }
}

void UscitaAltreStanze(Contesto& x) {
    ui::Control& stanze = x.c("txtNumAltreStanze");
    std::string cifre = stanze.text();
    std::erase_if(cifre, [](char ch) { return ch < '0' || ch > '9'; });
    stanze.setText(cifre.empty() ? "0" : cifre);
}

}  // namespace rules
