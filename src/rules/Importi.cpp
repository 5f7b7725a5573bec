// Numeric entry: the amounts, percentages, surface and rooms of the application screen.
#include <cmath>
#include <limits>
#include <optional>

#include "rules/Campi.h"
#include "rules/Numeri.h"
#include "rules/Regole.h"

namespace rules {

namespace {

// What a numeric field takes.
enum class Genere {
    Importo,   // Euro amount, at most what the field can show
    Decimale,  // percentage or surface
    Intero,    // digits only
};

// The field's text as its exit reads it; a blank text is 0.
std::optional<double> Leggi(const ui::Control& campo, Genere genere) {
    const std::string& testo = campo.text();
    if (SenzaSpazi(testo).empty()) return 0.0;
    switch (genere) {
        case Genere::Importo:
            return LeggiImporto(testo, campo.maxLength);
        case Genere::Decimale:
            return LeggiNumeroInserito(testo);
        case Genere::Intero:
            if (const auto n = LeggiInteroInserito(testo)) return static_cast<double>(*n);
            break;
    }
    return std::nullopt;
}

// The field's tab page and the focus in it.
void Mostra(Contesto& x, ui::Control& campo) {
    if (campo.page >= 0) x.c("SSTab1").setCurrentPage(campo.page);
    x.f.setFocus(campo);
}

// "Valore non valido", the focus back into the field; at registration not repeated for the
// text its exit has just refused.
void Rifiuta(Contesto& x, ui::Control& campo, bool registrando) {
    const bool giaDetto = registrando && x.rifiutato == &campo && x.testoRifiutato == campo.text();
    if (!giaDetto) x.f.message("Valore non valido");
    x.rifiutato = &campo;
    x.testoRifiutato = campo.text();
    Mostra(x, campo);
}

// The value of the field as its exit takes it, or nothing after refusing it.
std::optional<double> Accetta(Contesto& x, ui::Control& campo, Genere genere) {
    const auto valore = Leggi(campo, genere);
    if (!valore) Rifiuta(x, campo, false);
    return valore;
}

// The value a single-precision number holds; beyond its range, an infinity.
double SingolaPrecisione(double v) {
    if (std::fabs(v) > std::numeric_limits<float>::max()) {
        return std::copysign(std::numeric_limits<double>::infinity(), v);
    }
    return static_cast<float>(v);
}

// The amount shown with "#,##0.00"; false when the text was refused.
bool FormattaImporto(Contesto& x, ui::Control& campo) {
    const auto valore = Accetta(x, campo, Genere::Importo);
    if (valore) campo.setText(Formato(*valore, "#,##0.00"));
    return valore.has_value();
}

// Percentage and surface: "#0.00" at single precision, "0" when empty; nothing when refused.
std::optional<double> FormattaPercentuale(Contesto& x, ui::Control& campo) {
    if (SenzaSpazi(campo.text()).empty()) {
        campo.setText("0");
        return 0.0;
    }
    const auto valore = Accetta(x, campo, Genere::Decimale);
    if (!valore) return std::nullopt;
    campo.setText(Formato(SingolaPrecisione(*valore), "#0.00"));
    return PercentualeCampo(campo);
}

bool Conferma(Contesto& x, const std::string& testo) {
    return x.f.message(testo + "\r\nSi conferma il dato?", ui::Buttons::YesNo, ui::Icon::None,
                       "Attenzione", ui::Answer::Yes) == ui::Answer::Yes;
}

// The numeric fields the operator fills, in the order of the tab pages.
struct Numerico {
    const char* nome;
    Genere genere;
};
constexpr Numerico kNumerici[] = {
    {"txtCanoneTotaleEur", Genere::Importo},      {"txtSuperfAlloggio", Genere::Decimale},
    {"txtNumAltreStanze", Genere::Intero},        {"txtIncremPercFasciaA", Genere::Decimale},
    {"txtIncremPercLimiteRed", Genere::Decimale}, {"txtIncremPercContrib", Genere::Decimale},
    {"txtAltriContrib", Genere::Importo},         {"txtContribConcesso", Genere::Importo},
    {"txtCoFinanzComune", Genere::Importo},
};

}  // namespace

double ValoreCampo(const ui::Control& campo) {
    return Valore(campo.text());
}

double ImportoCampo(const ui::Control& campo) {
    return Valore(FormatoTesto(campo.text(), "#.00"));
}

double PercentualeCampo(const ui::Control& campo) {
    return SingolaPrecisione(ValoreCampo(campo));
}

std::string SenzaSpazi(const std::string& testo) {
    const auto first = testo.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return testo.substr(first, testo.find_last_not_of(' ') + 1 - first);
}

void EntrataImporto(Contesto&, ui::Control& campo) {
    // A refused text stays as the operator left it.
    if (const auto valore = LeggiNumeroInserito(campo.text())) {
        campo.setText(Formato(*valore, "#.00"));
    }
}

void UscitaCanone(Contesto& x) {
    ui::Control& canone = x.c("txtCanoneTotaleEur");
    const auto valore = Accetta(x, canone, Genere::Importo);
    if (!valore) return;
    if (*valore > 18000 && !Conferma(x, "Il canone indicato supera 18000 Euro.")) {
        x.f.setFocus(canone);
    }
    canone.setText(Formato(*valore, "#,##0.00"));
    x.c("txtCanoneTabComuneEur").setText(canone.text());
    SommaReddito(x);
}

void UscitaRedditoComponente(Contesto& x, int riga) {
    ui::Control& reddito = x.c("txtNucleoRedditoEur", riga);
    if (!FormattaImporto(x, reddito)) return;
    if (reddito.text() == "0,00" && x.c("txtNucleoNome", riga).text().empty()) {
        reddito.setText("");
    }
    SommaReddito(x);
}

void UscitaImportoComune(Contesto& x, ui::Control& campo) {
    if (FormattaImporto(x, campo)) CalcolaContributo(x);
}

void UscitaPercentuale(Contesto& x, ui::Control& campo) {
    const auto valore = FormattaPercentuale(x, campo);
    if (!valore) return;
    if (*valore > 25 || *valore < 0) {
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
    const auto valore = FormattaPercentuale(x, superficie);
    if (!valore) return;
    if (*valore >= 1000) {
        x.f.message("Il valore deve essere inferiore a 1000");
        x.f.setFocus(superficie);
    } else if (*valore > 200 && !Conferma(x, "La superficie indicata supera 200 mq.")) {
        x.f.setFocus(superficie);
    }
}

void UscitaAltreStanze(Contesto& x) {
    ui::Control& stanze = x.c("txtNumAltreStanze");
    if (Accetta(x, stanze, Genere::Intero)) {
        const std::string cifre = SenzaSpazi(stanze.text());
        stanze.setText(cifre.empty() ? "0" : cifre);
    }
}

bool NumeriRegistrabili(Contesto& x) {
    for (int i = 0; i < RigheNucleo; ++i) {
        ui::Control& reddito = x.c("txtNucleoRedditoEur", i);
        if (!Leggi(reddito, Genere::Importo)) {
            Rifiuta(x, reddito, true);
            return false;
        }
    }
    for (const Numerico& n : kNumerici) {
        ui::Control& campo = x.c(n.nome);
        if (!Leggi(campo, n.genere)) {
            Rifiuta(x, campo, true);
            return false;
        }
    }
    // The members' incomes are sound now; the sums shown come from a stored row.
    if (ImportoCampo(x.c("txtSommaRedditiNucleoEur")) < 0 ||
        ImportoCampo(x.c("txtRedditoAccessoEur")) < 0) {
        x.f.message("Valore non valido");
        SommaReddito(x);
        Mostra(x, x.c("txtSommaRedditiNucleoEur"));
        return false;
    }
    return true;
}

}  // namespace rules
