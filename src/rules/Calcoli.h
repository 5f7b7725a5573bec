#pragma once
// The arithmetic of the call, without any screen: the procedures of Regole.h read the field
// texts, call these and write the results back.
#include <optional>
#include <string>

#include "store/DateTime.h"

namespace rules {

inline constexpr double DetrazioneFiglio = 516.46;         // per dependent child
inline constexpr double LimiteFasciaA = 10931.18;          // access income of band "A"
inline constexpr double LimiteFasciaAMassimo = 13663.975;  // band-A limit raised by 25 %
inline constexpr double IncidenzaSenzaReddito = 999;       // rent declared, no access income
inline constexpr int UltimoAnnoContratto = 2004;

// Total income less the deduction for the dependent children, never below 0.
double RedditoAccesso(double redditoLordo, int figli);

// Band-A limit raised by the option's percentage p (read at single precision).
double LimiteFasciaAIncrementato(double p);

// "A" or "B". With the band-A option the limit is raised by p and an income equal to it is
// still band "A"; without it an income above 10931.18 is band "B".
std::string Fascia(double redditoAccesso, bool incrementoFasciaA, double p);

// Rent in per cent of the access income; without access income 0 (no rent) or 999.
double Incidenza(double canone, double redditoAccesso);

// Rent less 14 % (band "A") or 24 % (any other band) of the access income, capped at
// 3098.74 or 2324.06, rounded to the cent with a half to the even cent. Not floored at 0.
double ContributoBase(bool fasciaA, double canone, double redditoAccesso);

struct Incremento {
    double importo = 0;    // not rounded
    bool ridotto = false;  // cut so that base + increment does not exceed the rent
};
// The increment of p per cent (p > 0) of the base contribution.
Incremento IncrementoContributo(double base, double p, double canone);

// Total less the other contributions; nothing when that shows as a negative amount.
std::optional<double> ContributoRichiesto(double totale, double altriContributi);

// Band-B access-income limit for the household size, raised by p per cent when p > 0.
double LimiteReddito(int componenti, double p);

// Incidence at or below the band's minimum (14 for band "A", 24 otherwise) excludes.
bool IncidenzaInsufficiente(bool fasciaA, float incidenza);

// The cadastral category (blanks around it ignored) is admitted: A2 to A6, or empty.
bool CategoriaAmmessa(const std::string& categoria);

// Excluded when the contract in force started after 2004: with two start dates both must be
// later, with only the first that one; without the first start date nothing excludes.
bool ContrattoPosteriore(const std::optional<store::Date>& inizio1,
                         const std::optional<store::Date>& inizio2);

// Exactly 16 characters following AAAAAA99A99A999A (A a letter A-Z, 9 a digit).
bool CodiceFiscaleConforme(const std::string& codice);

}  // namespace rules
