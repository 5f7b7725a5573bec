#include "rules/Campi.h"

#include <algorithm>
#include <iterator>

namespace rules {

namespace {

const char* cerca(const Codice* primo, const Codice* ultimo, std::string_view valore) {
    const Codice* c =
        std::find_if(primo, ultimo, [valore](const Codice& x) { return valore == x.lettera; });
    return c == ultimo ? nullptr : c->descrizione;
}

}  // namespace

bool ColonnaImporto(std::string_view colonna) {
    static constexpr std::string_view kContributi[] = {
        "ContribBase",      "IncremImpoContrib", "TotContrib",     "AltriContributiDaEnti",
        "ContribRichiesto", "ContribConcesso",   "CoFinanzComune", "ContribComplessivo"};
    return colonna.ends_with("Eur") || std::find(std::begin(kContributi), std::end(kContributi),
                                                 colonna) != std::end(kContributi);
}

const char* DescrizioneCodice(std::string_view colonna, std::string_view valore) {
    if (colonna == "FlagTipoAlloggio") {
        const Codice tipi[] = {kAlloggioErp, kAlloggioPrivato};
        return cerca(std::begin(tipi), std::end(tipi), valore);
    }
    if (colonna == "FlagTipoContratto") {
        const char* d = cerca(std::begin(kTipiContratto), std::end(kTipiContratto), valore);
        return d != nullptr ? d : kContrattoNonSpecificato.descrizione;
    }
    if (colonna == "FlagConserFab" || colonna == "FlagConserAll") {
        const char* d =
            cerca(std::begin(kStatiConservazione), std::end(kStatiConservazione), valore);
        return d != nullptr ? d : "";
    }
    return nullptr;
}

}  // namespace rules
