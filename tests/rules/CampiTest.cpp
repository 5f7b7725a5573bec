// Which columns of the application rows hold amounts (their descriptions: ModelloTest).
#include <gtest/gtest.h>


#include "rules/Campi.h"

namespace {

TEST(Campi, AmountsAreTheEuroColumnsAndTheContributions) {
    const struct {
        const char* colonna;
        bool importo;
    } casi[] = {
        {"CanoneTotaleEur", true},  {"RedditoEur", true},      {"FabbisognoEur", true},
        {"ContribBase", true},      {"CoFinanzComune", true},  {"ContribComplessivo", true},
        {"IncidenzaCanRed", false}, {"SuperfAlloggio", false}, {"IncremPercContrib", false},
        {"NumComponNucleo", false}, {"EurCanone", false},      {"", false},
    };
    for (const auto& c : casi) EXPECT_EQ(rules::ColonnaImporto(c.colonna), c.importo) << c.colonna;
}

}  // namespace
