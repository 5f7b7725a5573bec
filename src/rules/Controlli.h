#pragma once
// The checks the application screen makes when a field is left, and the completeness grade
// asked for at registration: verdicts only; the screen shows the messages and moves the focus.
#include <string>

#include "rules/Domanda.h"

namespace rules {

enum class EsitoCodiceFiscale {
    Accettato,    // empty, or 16 characters of the right shape
    Corto,        // 1 to 15 characters (blanks around it ignored)
    NonConforme,  // 16 characters off the letter/digit pattern: the operator may force it
};
EsitoCodiceFiscale VerificaCodiceFiscale(const std::string& codice);

enum class EsitoPresentazione { Vuota, NonValida, PrimaEmissione, DopoChiusura, DopoOggi, Valida };
// The tests in the order the screen makes them; the call's own days are in time.
EsitoPresentazione VerificaPresentazione(const std::string& testo, const Bando& b);

enum class EsitoData { Accettata, NonValida, Futura, DopoPubblicazione };
// A contract's start or registration date: empty, or a valid date not after today.
EsitoData VerificaDataContratto(const std::string& testo, const store::Date& oggi);
// A member's birth date: empty, or a valid date not after the publication of the resolution.
EsitoData VerificaNascita(const std::string& testo);

// A rent above the plausible yearly rent asks for confirmation.
bool CanoneDaConfermare(double canone);
// An increment percentage lies between 0 and the largest increment, both included.
bool PercentualeAmmessa(double p);

// Plausibility of the dwelling's surface, in square metres: the program's own, not the call's.
inline constexpr double kSuperficieMassima = 1000;      // refused from here on
inline constexpr double kSuperficieDaConfermare = 200;  // confirmed above this
enum class EsitoSuperficie { Accettata, Eccessiva, DaConfermare };
EsitoSuperficie VerificaSuperficie(double mq);

// A household row's five items (name, relationship, birth date, profession, income): whether
// one is missing, and whether one is there. An income of "0" alone does not fill a row.
struct StatoRiga {
    bool manca = false;
    bool presente = false;
};
StatoRiga EsaminaRiga(const Componente& c);

// The first contract lacks what the dwelling requires: number, registration and start date,
// or only the start date when the landlord need not register the contract.
bool MancanoDatiContratto(const Domanda& d);

enum class Completezza {
    MancaIlMinimo,            // presentation date, surname or first name
    MancanoDatiFondamentali,  // the operator may register all the same
    RigaIncompleta,           // a household row partly filled
    Completa,
};
struct Verifica {
    Completezza grado = Completezza::Completa;
    int riga = -1;  // the first incomplete household row
};
Verifica ValidaCampi(const Domanda& d);

}  // namespace rules
