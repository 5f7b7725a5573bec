#pragma once
// The two ways into the engine. From the screen: the texts of the application screen's
// fields, read as its procedures read them. From the archive: a stored application, shown as
// the screen shows it once loaded, then read the same way.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "rules/Domanda.h"
#include "store/Value.h"

namespace rules {

// What the application screen holds, field by field (lists by their code).
struct TestiDomanda {
    std::string cognome, nome, codiceFiscale, comune, indirizzo, presentazione;
    struct Riga {
        std::string nome, parentela, nascita, professione, reddito;
    };
    std::array<Riga, kRigheNucleo> nucleo;
    std::string canone;        // txtCanoneTotaleEur
    std::string canoneComune;  // txtCanoneTabComuneEur
    std::string categoria;
    struct Contratto {
        std::string numero, registrazione, inizio;
    };
    std::array<Contratto, 2> contratti;
    bool nonRegistrato = false;
    std::array<bool, 4> debolezze{};
    struct Opzione {
        bool spuntata = false;
        bool disponibile = false;
        bool campoAttivo = false;
        std::string percentuale;
    };
    std::array<Opzione, kOpzioni> opzioni;
    std::string altriContributi, contributoConcesso, coFinanziamento;

    // Results shown.
    std::string redditoComplessivo;  // txtRedditoLordoEur
    std::string componenti, figli, redditoAccesso, fascia, incidenza;
    bool debolezzaSociale = false;
    std::array<bool, kEsclusioni> esclusioni{};
    bool ammessa = false;
    bool nonAmmessa = false;
    bool mancaContratto = false;
    std::string contributoBase, incremento, totale, richiesto, daErogare;
    bool incrementoRidotto = false;
};

Domanda LeggiTesti(const TestiDomanda& t);

// A stored row by column name, as the engine returned it (null for a missing column).
using RigaMemorizzata = std::map<std::string, store::Value>;

struct DomandaMemorizzata {
    RigaMemorizzata domanda;              // the Domanda row
    std::vector<RigaMemorizzata> nucleo;  // its NucleoFam rows, with ProgrNucleo 1 to 11
};

// The texts the application screen shows for a stored application once loaded: amounts
// "#,##0.00", dates dd/mm/yyyy, check boxes from their flags. The options are as stored, none
// made available yet (the rules decide that).
TestiDomanda TestiMemorizzati(const DomandaMemorizzata& m);

// The stored application as the engine reads it.
Domanda LeggiMemorizzata(const DomandaMemorizzata& m);

// The shortest decimal text, with a decimal comma and no grouping, that reads back as the
// stored number: what a field tied to a numeric column shows. Empty for null.
std::string NumeroMemorizzato(const store::Value& v);

// A text as the application screen's fields show its amount once loaded: the stored number
// with "#,##0.00", or as it reads when it has no decimal form.
std::string ImportoMemorizzato(const store::Value& v);

}  // namespace rules
