#pragma once
// The audit of the imported applications: each is worked out again by the rules of the call
// from its stored inputs and the call dates of its sending, and its stored band, admissibility
// and requested contribution are compared with what the rules give.
//
// The rules of the call compare some dates with today's date (a presentation or a contract
// date may not lie in the future). Re-run at the Region, "today" is the day the application
// was registered (its DataRegistrazione), the day the municipality's checks were made, or the
// call's closing date when that moment is missing: an audit made later gives the same verdict.
//
// Sendings are read one after another and each application with its household rows as one
// ordered stream: only the application at hand is held.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "regione/Motore.h"
#include "rules/Domanda.h"
#include "rules/Testi.h"

namespace regione {

// The stored results the audit compares.
enum class Risultato { Fascia, Ammissibilita, ContributoRichiesto };

// One stored result that is not the one the rules give, as the application screen writes it
// ("A", "sì", "1.200,29") and as the CSV writes it ("A", "1", "1200,29").
struct Scostamento {
    Risultato risultato;
    std::string memorizzato;
    std::string regole;
    std::string memorizzatoCsv;
    std::string regoleCsv;
};

// The caption the screen gives a result, and its stored column.
const char* Didascalia(Risultato r);
const char* ColonnaDi(Risultato r);

// The call of a sending as the rules see it for one of its applications: its dates, and as
// today the day the application was registered (see above). Nothing when the sending's call
// dates cannot be read.
std::optional<rules::Bando> BandoDellaDomanda(const std::string& emissione,
                                              const std::string& chiusura,
                                              const std::string& registrazione);

// The stored results of the application that differ from the rules'; with motivi, the
// exclusions the rules find, by their captions.
std::vector<Scostamento> Confronta(const rules::DomandaMemorizzata& m, const rules::Bando& b,
                                   std::vector<std::string>* motivi = nullptr);

struct DomandaDiversa {
    std::string codComune;
    std::string puntoLavoro;
    std::string numRepertorio;
    std::string cognome;
    std::string nome;
    std::vector<Scostamento> scostamenti;
    std::vector<std::string> motivi;  // exclusions according to the rules
};

// A sending whose call dates cannot be read: its applications are not checked.
struct InvioNonVerificabile {
    std::string codComune;
    std::string puntoLavoro;
    std::int64_t domande = 0;
};

struct ConteggiVerifica {
    std::int64_t verificate = 0;
    std::int64_t diverse = 0;
    std::int64_t nonVerificate = 0;
};

// Every imported application, by municipality, collection point and register number; the
// differing ones and the sendings that cannot be checked are handed over as they are found.
ConteggiVerifica Verifica(Motore& m, const std::function<void(const DomandaDiversa&)>& diversa,
                          const std::function<void(const InvioNonVerificabile&)>& nonVerificabile);

// The audit written to out, one block per differing application and a closing count line, and
// to csv when given (one line per differing result).
ConteggiVerifica ScriviVerifica(Motore& m, std::ostream& out, std::ostream* csv);

extern const char* const kIntestazioneCsvVerifica;

}  // namespace regione
