#pragma once
// The arithmetic of the call, figure by figure; the engine (Motore.h) chains these steps.
#include <optional>
#include <string>

#include "store/DateTime.h"

namespace rules {

// Relationship code of a dependent child.
inline constexpr const char* kFiglioACarico = "3";
// Incidence written when a rent is declared and there is no access income.
inline constexpr double kIncidenzaSenzaReddito = 999;

// Total income less the deduction for the dependent children, never below 0.
double RedditoAccesso(double redditoLordo, int figli);

// Band-A limit raised by p per cent (p read at single precision), worked out in that order.
double LimiteFasciaAIncrementato(double p);
// The highest band-A limit the option can reach: raised by the largest increment.
double LimiteFasciaAMassimo();

// "A" or "B". With the band-A option the limit is raised by p and an income equal to it is
// still band "A"; without it an income above the band-A limit is band "B".
std::string Fascia(double redditoAccesso, bool incrementoFasciaA, double p);

// Rent in per cent of the access income; without access income 0 (no rent) or 999.
double Incidenza(double canone, double redditoAccesso);

// Share of the access income deducted from the rent, in per cent: band "A" or any other band.
double Quota(bool fasciaA);
// Cap of the base contribution.
double Tetto(bool fasciaA);

// Rent less the band's share of the access income, capped, rounded to the cent with a half to
// the even cent. Not floored at 0.
double ContributoBase(bool fasciaA, double canone, double redditoAccesso);

struct Incremento {
    double importo = 0;    // not rounded
    bool ridotto = false;  // cut so that base + increment does not exceed the rent
};
// The increment of p per cent (p > 0) of the base contribution.
Incremento IncrementoContributo(double base, double p, double canone);

// Total less the other contributions; nothing when that shows as a negative amount.
std::optional<double> ContributoRichiesto(double totale, double altriContributi);

// Band-B access-income limit for the household size, and raised by p per cent when p > 0.
double LimiteRedditoBase(int componenti);
double LimiteReddito(int componenti, double p);

// The band's minimum incidence, which the incidence must exceed.
double IncidenzaMinima(bool fasciaA);
// Incidence at or below the band's minimum excludes.
bool IncidenzaInsufficiente(bool fasciaA, float incidenza);

// The cadastral category (blanks around it ignored) is admitted: one of the call's, or empty.
bool CategoriaAmmessa(const std::string& categoria);

// Excluded when the contract in force started after the call's last year: with two start
// dates both must be later, with only the first that one; without the first nothing excludes.
bool ContrattoPosteriore(const std::optional<store::Date>& inizio1,
                         const std::optional<store::Date>& inizio2);

// Exactly 16 characters following AAAAAA99A99A999A (A a letter A-Z, 9 a digit).
bool CodiceFiscaleConforme(const std::string& codice);

// Without the leading and trailing blanks.
std::string SenzaSpazi(const std::string& testo);

}  // namespace rules
