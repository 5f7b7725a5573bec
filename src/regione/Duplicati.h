#pragma once
// Applicants who applied more than once anywhere in the region (by fiscal code), and household
// members found with the same name and birth date in households of different municipalities.
// Rows are read in order and written as they come.
//
// Grouping a region's rows would take seconds; instead the import marks each row that, when it
// arrived, met another with the same fiscal code (or name and birth date, in another
// municipality): of any group that exists now, the row that arrived last is marked. Marks left
// by groups that no longer exist only add candidates, which the searches check.
#include <functional>
#include <ostream>
#include <string>

#include "regione/Motore.h"

namespace regione {

struct RichiedenteDoppio {
    std::string codFiscale;
    std::string codComune;
    std::string numRepertorio;
    std::string cognome;
    std::string nome;
};

struct ComponenteDoppio {
    std::string cognomeNome;
    std::string dataNascita;  // as stored (ISO)
    std::string codComune;
    std::string numRepertorio;
};

// Every application of a fiscal code found in more than one, by code, municipality and
// register number.
void LeggiRichiedentiDoppi(Motore& m, const std::function<void(const RichiedenteDoppio&)>& riga);
// Every household row of a name and birth date found in more than one municipality, by name,
// birth date, municipality and register number.
void LeggiComponentiDoppi(Motore& m, const std::function<void(const ComponenteDoppio&)>& riga);

// Marks the rows of a sending just loaded (see above).
void SegnaDoppi(Motore& m, const std::string& codComune, const std::string& puntoLavoro);

// Writes both lists to out, and the applicants to csv when given.
void ScriviDuplicati(Motore& m, std::ostream& out, std::ostream* csv);

}  // namespace regione
