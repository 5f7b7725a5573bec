#pragma once
// An application as the rules of the call see it: what the operator typed, read into numbers,
// dates and flags as the application screen reads its fields, and the results the screen
// shows, which the rules read back where the screen's procedures read them back (a partial
// recalculation starts from what is shown).
#include <array>
#include <optional>
#include <string>

#include "store/DateTime.h"

namespace rules {

inline constexpr int kRigheNucleo = 11;  // household rows 0 to 10, 0 is the applicant

// The settings of the call at the workstation, and today's date.
struct Bando {
    store::Date emissione;
    store::Date chiusura;
    store::Date oggi;
};

struct Componente {
    std::string nome;                    // as typed; a member when not blank
    std::string parentela;               // relationship code, "" when none is chosen
    std::optional<store::Date> nascita;  // nothing when empty or not a valid date
    std::string professione;             // profession code, "" when none is chosen
    std::optional<double> reddito;       // the income to the cent; nothing when the field is empty
    bool redditoSoloZero = false;        // the field holds just "0": filled, yet no data
};

struct Contratto {
    std::string numero;
    std::optional<store::Date> registrazione;  // nothing when empty or not a valid date
    std::optional<store::Date> inizio;
};

// The three increment options for a weak household, in this order.
enum class Opzione { LimiteFasciaA, LimiteReddito, Contributo };
inline constexpr int kOpzioni = 3;

struct StatoOpzione {
    bool spuntata = false;
    bool disponibile = false;     // the box can be ticked
    bool campoAttivo = false;     // its percentage can be typed
    double percentuale = 0;       // the field's number at single precision; 0 when empty
    bool percentualeZero = true;  // the field holds the "0" the rules write for an option off
};

// An amount as shown, to the cent. `azzerato`: written as the bare "0.00" the rules use for
// what they clear (an excluded application, no increment, a request below zero).
struct Importo {
    double valore = 0;
    bool azzerato = false;
};

// The seven exclusion reasons, in the order of the verdict.
enum class Esclusione {
    Categoria,
    Reddito,
    Incidenza,
    Contratto,
    DatiMancanti,
    Termine,
    Istruttoria
};
inline constexpr int kEsclusioni = 7;

struct Domanda {
    // --- Typed by the operator -------------------------------------------------------------
    std::string cognome;
    std::string nome;
    std::string codiceFiscale;
    std::string comune;  // code of the municipality of residence, "" when none
    std::string indirizzo;
    std::optional<store::Date> presentazione;
    std::array<Componente, kRigheNucleo> nucleo;
    double canone = 0;        // the rent to the cent (txtCanoneTotaleEur)
    bool canoneVuoto = true;  // its field is empty
    double canoneComune = 0;  // the rent copied on the municipality's page, used for incidence
    std::string categoria;    // cadastral category as typed
    std::array<Contratto, 2> contratti;
    bool nonRegistrato = false;       // landlord not obliged to register the contract
    std::array<bool, 4> debolezze{};  // over 65, disabled, eviction, other

    // --- Increment options: ticked by the operator, made available by the rules ------------
    std::array<StatoOpzione, kOpzioni> opzioni;

    // --- Amounts the municipality types; the rules clear them for an excluded application --
    Importo altriContributi;
    Importo contributoConcesso;
    Importo coFinanziamento;

    // --- Results shown, each as its field shows it (amounts to the cent) ------------------
    double redditoComplessivo = 0;  // household total income
    int componenti = 0;
    int figli = 0;
    double redditoAccesso = 0;
    std::string fascia;               // "A", "B" (a stored row may hold anything)
    std::optional<double> incidenza;  // per cent; nothing when the field is empty
    bool debolezzaSociale = false;
    std::array<bool, kEsclusioni> esclusioni{};  // Istruttoria is the operator's own
    bool ammessa = false;                        // "Domanda ammissibile"
    bool nonAmmessa = false;                     // "Domanda non ammissibile"
    bool mancaContratto = false;
    Importo contributoBase;
    Importo incremento;
    bool incrementoRidotto = false;  // "(ridotto)" shown
    Importo totale;
    Importo richiesto;
    Importo daErogare;

    StatoOpzione& opzione(Opzione o) { return opzioni[static_cast<std::size_t>(o)]; }
    const StatoOpzione& opzione(Opzione o) const { return opzioni[static_cast<std::size_t>(o)]; }
    bool& esclusa(Esclusione e) { return esclusioni[static_cast<std::size_t>(e)]; }
    bool esclusa(Esclusione e) const { return esclusioni[static_cast<std::size_t>(e)]; }
};

// The captions of the check boxes, as the screen and the explanations show them.
const char* Didascalia(Esclusione e);
const char* Didascalia(Opzione o);
const char* DidascaliaDebolezza(int i);  // 0 to 3, in the order of Domanda::debolezze

// An amount as the screen writes it: "#,##0.00", or the bare "0.00" of a cleared one.
std::string TestoImporto(const Importo& i);

}  // namespace rules
