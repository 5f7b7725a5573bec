#pragma once
// Reads of the application screen's fields shared by the rules. A numeric text that is not a
// number (a refused paste) reads as 0; registration refuses it, so it never reaches the archive.
#include <string>

#include "rules/Contesto.h"
#include "ui/Control.h"

namespace rules {

inline constexpr int RigheNucleo = 11;  // household rows 0 to 10

// The field's text as a number; empty is 0.
double ValoreCampo(const ui::Control& campo);
// The amount as shown with "#.00", read back: the value rounded to the cent.
double ImportoCampo(const ui::Control& campo);
// A percentage, read at single precision.
double PercentualeCampo(const ui::Control& campo);

inline bool Spuntato(const ui::Control& c) {
    return c.value() == 1;
}

// Without the leading and trailing blanks.
std::string SenzaSpazi(const std::string& testo);

// The five items of a household row (name, relationship, birth date, profession, income):
// whether one of them is missing, and whether one is there. An income of "0" alone does not
// make a row filled.
struct StatoRiga {
    bool manca = false;
    bool presente = false;
};
StatoRiga EsaminaRiga(const Contesto& x, int riga);

// The first contract lacks what the dwelling requires: number, registration and start date,
// or only the start date when the landlord need not register the contract.
bool MancanoDatiContratto(const Contesto& x);

}  // namespace rules
