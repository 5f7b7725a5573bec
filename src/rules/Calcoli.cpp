#include "rules/Calcoli.h"

#include "rules/Campi.h"
#include "rules/Numeri.h"
#include "rules/Parametri.h"
#include "store/Dialect.h"

namespace rules {

namespace {

using P = Parametro;

}  // namespace

double RedditoAccesso(double redditoLordo, int figli) {
    const double accesso = redditoLordo - ValoreParametro(P::DetrazioneFiglio) * figli;
    return accesso < 0 ? 0 : accesso;
}

double LimiteFasciaAIncrementato(double p) {
    const double limite = ValoreParametro(P::LimiteFasciaA);
    return p / 100 * limite + limite;
}

double LimiteFasciaAMassimo() {
    return LimiteFasciaAIncrementato(ValoreParametro(P::IncrementoMassimo));
}

std::string Fascia(double redditoAccesso, bool incrementoFasciaA, double p) {
    if (incrementoFasciaA)
        return redditoAccesso <= LimiteFasciaAIncrementato(p) ? kFasciaA : kFasciaB;
    return redditoAccesso > ValoreParametro(P::LimiteFasciaA) ? kFasciaB : kFasciaA;
}

double Incidenza(double canone, double redditoAccesso) {
    if (redditoAccesso == 0) return canone == 0 ? 0 : kIncidenzaSenzaReddito;
    return canone / redditoAccesso * 100;
}

double Quota(bool fasciaA) {
    return ValoreParametro(fasciaA ? P::QuotaFasciaA : P::QuotaFasciaB);
}

double Tetto(bool fasciaA) {
    return ValoreParametro(fasciaA ? P::TettoFasciaA : P::TettoFasciaB);
}

double ContributoBase(bool fasciaA, double canone, double redditoAccesso) {
    double base = canone - redditoAccesso * Quota(fasciaA) / 100;
    if (base > Tetto(fasciaA)) base = Tetto(fasciaA);
    return store::roundHalfEven(base, 2);
}

Incremento IncrementoContributo(double base, double p, double canone) {
    Incremento r;
    if (p <= 0) return r;
    r.importo = p * base / 100;
    if (base + r.importo > canone) {
        r.importo = canone - base;
        r.ridotto = true;
    }
    return r;
}

std::optional<double> ContributoRichiesto(double totale, double altriContributi) {
    const double richiesto = totale - altriContributi;
    if (ArrotondaLontanoDaZero(richiesto, 2) < 0) return std::nullopt;
    return richiesto;
}

double LimiteRedditoBase(int componenti) {
    if (componenti <= 2) return ValoreParametro(P::LimiteReddito1o2);
    if (componenti == 3) return ValoreParametro(P::LimiteReddito3);
    if (componenti == 4) return ValoreParametro(P::LimiteReddito4);
    return ValoreParametro(P::LimiteReddito5oPiu);
}

double LimiteReddito(int componenti, double p) {
    const double base = LimiteRedditoBase(componenti);
    return p > 0 ? p / 100 * base + base : base;
}

double IncidenzaMinima(bool fasciaA) {
    return ValoreParametro(fasciaA ? P::IncidenzaMinimaA : P::IncidenzaMinimaB);
}

bool IncidenzaInsufficiente(bool fasciaA, float incidenza) {
    return incidenza <= IncidenzaMinima(fasciaA);
}

bool CategoriaAmmessa(const std::string& categoria) {
    const std::string c = SenzaSpazi(categoria);
    if (c.empty()) return true;
    const std::string elenco = " " + std::string(Voce(P::CategorieAmmesse).elenco) + " ";
    return c.find(' ') == std::string::npos && elenco.find(" " + c + " ") != std::string::npos;
}

bool ContrattoPosteriore(const std::optional<store::Date>& inizio1,
                         const std::optional<store::Date>& inizio2) {
    if (!inizio1) return false;
    const double ultimo = ValoreParametro(P::UltimoAnnoContratto);
    const bool primo = inizio1->year > ultimo;
    return inizio2 ? primo && inizio2->year > ultimo : primo;
}

bool CodiceFiscaleConforme(const std::string& codice) {
    static constexpr char schema[] = "AAAAAA99A99A999A";
    if (codice.size() != 16) return false;
    for (std::size_t i = 0; i < 16; ++i) {
        const char ch = codice[i];
        const bool ok = schema[i] == 'A' ? ch >= 'A' && ch <= 'Z' : ch >= '0' && ch <= '9';
        if (!ok) return false;
    }
    return true;
}

std::string SenzaSpazi(const std::string& testo) {
    const auto first = testo.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return testo.substr(first, testo.find_last_not_of(' ') + 1 - first);
}

}  // namespace rules
