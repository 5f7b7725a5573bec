#pragma once
// What the columns of the application rows hold, for every screen and report that shows them:
// which hold amounts in euro, and what their letter codes stand for.
#include <string_view>

namespace rules {

// True for a column holding an amount in euro: every column whose name ends in "Eur", and the
// contributions, whose names do not.
bool ColonnaImporto(std::string_view colonna);

// A letter code of a column and what it stands for.
struct Codice {
    const char* lettera;
    const char* descrizione;
};

// FlagTipoAlloggio: public housing or a private dwelling.
inline constexpr Codice kAlloggioErp{"E", "Edilizia Residenziale Pubblica"};
inline constexpr Codice kAlloggioPrivato{"P", "Proprietà privata"};
// FlagTipoContratto, in the order of the screen's options, and the code of none chosen.
inline constexpr Codice kTipiContratto[] = {
    {"C", "Concordato"}, {"L", "Libero"}, {"T", "Transitorio"}};
inline constexpr Codice kContrattoNonSpecificato{"N", "Non specificato"};
// FlagConserFab and FlagConserAll, the states of repair of the building and of the dwelling.
inline constexpr Codice kStatiConservazione[] = {
    {"P", "Pessimo"}, {"M", "Mediocre"}, {"B", "Buono"}};
// Fascia, the income band.
inline constexpr char kFasciaA[] = "A";
inline constexpr char kFasciaB[] = "B";

// The description of a column's letter code as forms and lists print it: an unknown contract
// type is "Non specificato", an unknown state of repair "". Nothing (nullptr) for a column
// without letter codes and for an unknown dwelling type.
const char* DescrizioneCodice(std::string_view colonna, std::string_view valore);

}  // namespace rules
