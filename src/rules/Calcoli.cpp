#include "rules/Calcoli.h"

#include "rules/Numeri.h"
#include "store/Dialect.h"

namespace rules {

double RedditoAccesso(double redditoLordo, int figli) {
    const double accesso = redditoLordo - DetrazioneFiglio * figli;
    return accesso < 0 ? 0 : accesso;
}

double LimiteFasciaAIncrementato(double p) {
    return p / 100 * LimiteFasciaA + LimiteFasciaA;
}

std::string Fascia(double redditoAccesso, bool incrementoFasciaA, double p) {
    if (incrementoFasciaA) return redditoAccesso <= LimiteFasciaAIncrementato(p) ? "A" : "B";
    return redditoAccesso > LimiteFasciaA ? "B" : "A";
}

double Incidenza(double canone, double redditoAccesso) {
    if (redditoAccesso == 0) return canone == 0 ? 0 : IncidenzaSenzaReddito;
    return canone / redditoAccesso * 100;
}

double ContributoBase(bool fasciaA, double canone, double redditoAccesso) {
    const double quota = fasciaA ? 14 : 24;
    const double tetto = fasciaA ? 3098.74 : 2324.06;
    double base = canone - redditoAccesso * quota / 100;
    if (base > tetto) base = tetto;
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

double LimiteReddito(int componenti, double p) {
    double base = 29624.51;
    if (componenti <= 2) {
        base = 18515.32;
    } else if (componenti == 3) {
        base = 22588.69;
    } else if (componenti == 4) {
        base = 26291.75;
    }
    return p > 0 ? p / 100 * base + base : base;
}

bool IncidenzaInsufficiente(bool fasciaA, float incidenza) {
    return fasciaA ? incidenza <= 14 : incidenza <= 24;
}

bool CategoriaAmmessa(const std::string& categoria) {
    const auto first = categoria.find_first_not_of(' ');
    if (first == std::string::npos) return true;
    const std::string c = categoria.substr(first, categoria.find_last_not_of(' ') + 1 - first);
    return c.size() == 2 && c[0] == 'A' && c[1] >= '2' && c[1] <= '6';
}

bool ContrattoPosteriore(const std::optional<store::Date>& inizio1,
                         const std::optional<store::Date>& inizio2) {
    if (!inizio1) return false;
    const bool primo = inizio1->year > UltimoAnnoContratto;
    return inizio2 ? primo && inizio2->year > UltimoAnnoContratto : primo;
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

}  // namespace rules
