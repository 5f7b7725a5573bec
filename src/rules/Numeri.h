#pragma once
// The program's number conventions, whatever the system locale: "," decimal separator, "."
// thousands separator. One implementation of each display pattern; every screen calls these.
#include <optional>
#include <string>
#include <string_view>

namespace rules {

// Reads a text by the Italian convention: "." before the decimal comma are grouping
// separators and ignored; an optional leading "-". Nothing when the text is not a number.
std::optional<double> LeggiNumero(const std::string& text);

// A field text as a number: 0 for an empty text (and for a text that is not a number).
double Valore(const std::string& text);

// Rounds to the given decimals, an exact half away from zero (display patterns).
double ArrotondaLontanoDaZero(double x, int decimals);

// Shows a number with a display pattern: "#,##0.00", "#.00", "#0.00", "#", "#0.#0",
// "#0.000000" and similar. Digits after the point: "0" always shown, a trailing "#" only
// when not zero; before the point: the number of "0" is the least count of integer digits,
// a "," asks for grouping in threes. Halves round away from zero.
std::string Formato(double value, std::string_view pattern);

// The same pattern applied to a field's text: the text is read as a number first; an empty
// text gives an empty result, and so does a text that is not a number.
std::string FormatoTesto(const std::string& text, std::string_view pattern);

// Key filter of decimal fields: digits, Backspace, and one "," or "." when the text holds
// neither yet. Returns the key or 0.
int FiltraNumeriVirgole(int key, const std::string& currentText);

}  // namespace rules
