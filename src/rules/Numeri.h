#pragma once
// The program's number conventions, whatever the system locale: "," decimal separator, "."
// thousands separator. One implementation of each display pattern; every screen calls these.
#include <optional>
#include <string>
#include <string_view>

namespace rules {

// Reads a text the program wrote by the Italian convention: "." before the decimal comma are
// grouping separators and ignored; an optional leading sign; blanks around it. Nothing when
// the text is not a number or too large for a double.
std::optional<double> LeggiNumero(std::string_view text);

// A field text as a number: 0 for an empty text (and for a text that is not a number).
double Valore(std::string_view text);

// Reads a number as the operator may type or paste it into a numeric field; blanks around it
// are ignored. Two forms are accepted:
// - what the key filter lets one type: digits with at most one decimal separator, "," or "."
//   ("12,5", "12.5", ",50", "12,"; a lone separator is 0);
// - what the display patterns write: digits grouped in threes by "." and an optional decimal
//   part after "," ("1.234,56", "12.345.678").
// A single "." followed by three digits ("1.234") is the typed form, a decimal point. No sign,
// no exponent, nothing else: such texts give nothing.
std::optional<double> LeggiNumeroInserito(std::string_view text);

// A whole number as typed into a field that takes digits only; blanks around it are ignored.
// Nothing for any other text or for more than 18 digits.
std::optional<long long> LeggiInteroInserito(std::string_view text);

// Integer digits of the largest amount whose "#,##0.00" form fits a field of the given maximum
// length (0: no limit), and never more than 13: with the two decimals that makes 15 significant
// digits, as many as a double holds exactly for every cent. 17 characters give 11 digits
// (99.999.999.999,99), 15 give 9, 10 give 6.
int CifreIntereAmmesse(int lunghezzaMassima);

// An amount typed or pasted into a field of the given maximum length: LeggiNumeroInserito,
// refused when, rounded to the cent, it has more integer digits than CifreIntereAmmesse.
std::optional<double> LeggiImporto(std::string_view text, int lunghezzaMassima);

// Rounds to the given decimals (from 0), an exact half away from zero (display patterns). A
// value within a tiny tolerance of a half counts as the half; a value too large for that
// tolerance to mean anything is judged on its shortest decimal form. NaN and infinities come
// back unchanged.
double ArrotondaLontanoDaZero(double x, int decimals);

// An amount as a field shows it with "#,##0.00" and the next step reads it back: rounded to the
// cent, halves away from zero; 0 for a value with no decimal form (NaN, an infinity).
double ImportoMostrato(double x);

// The value a single-precision number holds; beyond its range, an infinity.
double SingolaPrecisione(double v);

// The display patterns, one name each; screens, reports and explanations write with these.
inline constexpr char kFormatoImporto[] = "#,##0.00";       // amounts: 1.234,50
inline constexpr char kFormatoLimite[] = "#,##0.00#";       // raised limits: 13.663,975
inline constexpr char kFormatoInModifica[] = "#.00";        // an amount being edited: 1234,50
inline constexpr char kFormatoDueDecimali[] = "#0.00";      // percentages: 12,50
inline constexpr char kFormatoIncidenza[] = "#0.#0";        // the rent's incidence: 13,7
inline constexpr char kFormatoSeiDecimali[] = "#0.000000";  // the share granted: 12,345678
inline constexpr char kFormatoFinoADueDecimali[] = "0.##";  // figures of the call: 14, 2,5
inline constexpr char kFormatoIntero[] = "0";               // whole figures: 999
inline constexpr char kFormatoMigliaia[] = "#,##0";         // counts: 1.234
inline constexpr char kFormatoUnDecimale[] = "#,##0.0";     // shares of a count: 12,5

// Shows a number with a display pattern: "#,##0.00", "#.00", "#0.00", "#", "#0.#0",
// "#0.000000" and similar. Digits after the point: "0" always shown, a trailing "#" only
// when not zero; before the point: the number of "0" is the least count of integer digits,
// a "," asks for grouping in threes. Halves round away from zero. Every finite double is shown
// with all its integer digits; NaN and infinities have no such form and give an empty text.
std::string Formato(double value, std::string_view pattern);

// The same pattern applied to a field's text: the text is read as a number first; an empty
// text gives an empty result, and so does a text that is not a number.
std::string FormatoTesto(const std::string& text, std::string_view pattern);

// An amount with kFormatoImporto.
std::string Euro(double value);

}  // namespace rules
