#pragma once
// The regional need statement: one row per municipality (by code) and a last row of regional
// totals, as CSV, as a table for the terminal, or as a started report for the report engine.
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "regione/Motore.h"
#include "ui/Ports.h"

namespace regione {

struct RigaRiepilogo {
    std::string codComune;
    std::string comune;  // name from the shipped list, "" when the code is not in it
    std::int64_t puntiRaccolta = 0;
    std::int64_t domande = 0;
    std::int64_t ammissibili = 0;
    std::int64_t fasciaA = 0;
    std::int64_t fasciaB = 0;
    std::int64_t fabbisognoCent = 0;  // requested contributions of the admissible applications
    std::int64_t coFinanzCent = 0;    // co-financing of the municipality's collection points
    std::int64_t nonAmmissibili() const { return domande - ammissibili; }
    void somma(const RigaRiepilogo& r);
};

// Every municipality's row, by code, then returns the regional totals ("TOTALE", "Regione").
RigaRiepilogo LeggiRiepilogo(Motore& m, const std::function<void(const RigaRiepilogo&)>& comune);

// The municipality's name in the shipped list, "" when unknown.
std::string NomeComune(const std::string& codComune);

// Amount of cents with a decimal comma and two decimals ("3098,74", "-0,05"); with migliaia
// also a dot every three digits ("3.098,74").
std::string Centesimi(std::int64_t cent, bool migliaia = false);

// A CSV field with ";" as separator: quoted (quotes doubled) when it holds ";", quotes or
// line breaks.
std::string CampoCsv(const std::string& testo);

void ScriviCsvRiepilogo(std::ostream& out, const std::vector<RigaRiepilogo>& comuni,
                        const RigaRiepilogo& totale);
void ScriviTabellaRiepilogo(std::ostream& out, const std::vector<RigaRiepilogo>& comuni,
                            const RigaRiepilogo& totale);

// The statement for the report engine: the municipalities as rows (amounts in the engine's
// form under names ending in "Eur"), the regional totals as formulas (Tot...). With
// totaleInRighe the totals are also the last row (for the spreadsheet).
ui::ReportRequest RichiestaRiepilogo(const std::string& definizione,
                                     const std::vector<RigaRiepilogo>& comuni,
                                     const RigaRiepilogo& totale, bool totaleInRighe);

}  // namespace regione
