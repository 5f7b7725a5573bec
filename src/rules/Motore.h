#pragma once
// The rules of the call as one pure function: an application in, the application with its
// results out, with the trail of steps that produced them. No screen and no archive: the
// application screen copies its fields in and writes the results back; the command line and
// the Region recompute stored applications the same way.
//
// The rules run as a chain, as they always have on the screen: the household total hands over
// to the band and incidence, which hand over to the weakness options and to admissibility,
// which ends with the contribution. A run may start at any link (the screen starts where the
// field just left feeds in); a link reads what the earlier links show, to the cent. A change
// of an increment option made by the rules runs that option's own reaction at once, nested,
// as the operator's change would.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "rules/Domanda.h"
#include "rules/Traccia.h"

namespace rules {

// Where a run starts.
enum class Avvio {
    Tutto,                   // the household total, and everything after it
    CalcolaIncidenza,        // counts, access income, band, incidence, and what follows
    VerificaDebolSoc,        // which increment options the weakness conditions allow
    VerificaDomandaAmmessa,  // exclusions and verdict, then the contribution
    CalcolaContributo,       // the amounts only
    // The operator (or the loading of a stored application) changed an option's box; the
    // application already holds its new state.
    CambioLimiteFasciaA,
    CambioLimiteReddito,
    CambioContributo,
};

Avvio CambioDi(Opzione o);

// The texts of the shown results that a run wrote: the screen writes back these, and every
// check box and availability (which a run that did not touch them leaves as they were).
struct Scritti {
    bool reddito = false;    // household total income
    bool incidenza = false;  // counts, access income, band, incidence
    std::array<bool, kOpzioni> percentuali{};
    bool contributo = false;  // the eight amounts
};

struct Esito {
    Domanda domanda;  // after the rules
    Scritti scritti;
    // Figures the rules used on the way, as of the last time each step ran in this run;
    // nothing when the step did not run or did not need the figure.
    std::optional<double> limiteFasciaA;    // the band-A limit, raised by its option
    std::optional<double> limiteReddito;    // band B: the limit for the household's size
    std::optional<double> incidenzaMinima;  // the band's minimum, to be exceeded
    std::optional<double> tetto;            // the cap of the base contribution
    Traccia traccia;                        // in the order of the chain
};

Esito Calcola(const Domanda& d, const Bando& b, Avvio avvio = Avvio::Tutto);

// The whole chain on an application as shown or stored, and where what it shows differs from
// what the rules give.
struct Spiegazione {
    Esito esito;
    std::vector<Differenza> differenze;
};
Spiegazione Spiega(const Domanda& mostrata, const Bando& b);

// The fields of `mostrata` (as shown, or as stored) whose value is not the one in
// `secondoLeRegole`, compared as the screen shows them.
std::vector<Differenza> Differenze(const Domanda& mostrata, const Domanda& secondoLeRegole);

// Where the application explained comes from: the screen shows it, or the archive stores it.
enum class Origine { Schermo, Archivio };

// The explanation in blocks of lines joined by "\n": the verdict, each numbered step, then the
// differences.
std::vector<std::string> BlocchiSpiegazione(const Spiegazione& s, Origine origine);

}  // namespace rules
