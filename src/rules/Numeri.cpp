#include "rules/Numeri.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>

namespace rules {

namespace {

// The most integer digits an amount may have: with two decimals, 15 significant digits.
constexpr int kCifreIntereMassime = 13;

// Below this many units of the last shown decimal a double carries enough digits for the
// tolerance that recognises a decimal half (at most 1/512 of a unit here); above it the value
// is judged on its shortest decimal form.
constexpr double kUnitaConTolleranza = 1099511627776.0;  // 2^40

bool Cifra(char ch) {
    return ch >= '0' && ch <= '9';
}

bool SoloCifre(std::string_view t) {
    return std::all_of(t.begin(), t.end(), Cifra);
}

std::string_view SenzaBianchi(std::string_view t) {
    const auto first = t.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return t.substr(first, t.find_last_not_of(' ') + 1 - first);
}

// The number of the digit strings `intera` "." `frazione` (either may be empty), read
// whatever the locale. Too small for a double is 0; too large is nothing.
std::optional<double> DaCifre(std::string_view intera, std::string_view frazione) {
    std::string testo = "0";
    testo.append(intera);
    testo += '.';
    testo.append(frazione);
    testo += '0';
    double valore = 0;
    const char* const fine = testo.data() + testo.size();
    const auto [letto, ec] = std::from_chars(testo.data(), fine, valore, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        if (intera.find_first_not_of('0') == std::string_view::npos) return 0.0;
        return std::nullopt;
    }
    if (ec != std::errc() || letto != fine) return std::nullopt;
    return valore;
}

// "1.234.567,89": a first group of one to three digits not starting with 0, then groups of
// three after a ".", at least two groups, then an optional decimal part after ",".
std::optional<double> LeggiRaggruppato(std::string_view t) {
    const auto virgola = t.find(',');
    const std::string_view intera = t.substr(0, virgola);
    const std::string_view frazione =
        virgola == std::string_view::npos ? std::string_view() : t.substr(virgola + 1);
    if (!SoloCifre(frazione)) return std::nullopt;
    std::string cifre;
    std::size_t inizio = 0;
    for (int gruppi = 0;; ++gruppi) {
        const auto punto = intera.find('.', inizio);
        const std::string_view gruppo =
            intera.substr(inizio, punto == std::string_view::npos ? punto : punto - inizio);
        const bool forma = gruppi == 0
                               ? !gruppo.empty() && gruppo.size() <= 3 && gruppo.front() != '0'
                               : gruppo.size() == 3;
        if (!forma || !SoloCifre(gruppo)) return std::nullopt;
        cifre.append(gruppo);
        if (punto == std::string_view::npos) {
            if (gruppi == 0) return std::nullopt;
            break;
        }
        inizio = punto + 1;
    }
    return DaCifre(cifre, frazione);
}

// Rounds the decimal digits intera "." frazione to `decimals` places, half away from zero.
void ArrotondaCifre(std::string& intera, std::string& frazione, std::size_t decimals) {
    if (frazione.size() <= decimals) {
        frazione.append(decimals - frazione.size(), '0');
        return;
    }
    const bool su = frazione[decimals] >= '5';
    frazione.resize(decimals);
    if (!su) return;
    for (std::string* parte : {&frazione, &intera}) {
        for (auto it = parte->rbegin(); it != parte->rend(); ++it) {
            if (*it != '9') {
                ++*it;
                return;
            }
            *it = '0';
        }
    }
    intera.insert(0, "1");
}

// The digits of |x| (finite) rounded to `decimals` places, halves away from zero.
struct Cifre {
    std::string intera;
    std::string frazione;
    // The number of the rounded digits, when worked out on the way.
    std::optional<double> valore;
};

// Splits "123.45" into its integer and decimal digits.
void Dividi(std::string_view testo, Cifre& c) {
    const auto punto = testo.find('.');
    c.intera = std::string(testo.substr(0, punto));
    if (punto != std::string_view::npos) c.frazione = std::string(testo.substr(punto + 1));
}

// The fewest digits that read back as m (finite, not negative), the value m stands for,
// written out without exponent.
void CifreEssenziali(double m, Cifre& c) {
    char buffer[32];
    const char* const fine =
        std::to_chars(std::begin(buffer), std::end(buffer), m, std::chars_format::scientific).ptr;
    const std::string_view testo(buffer, static_cast<std::size_t>(fine - buffer));
    const auto e = testo.find('e');
    std::string cifre(testo.substr(0, e));
    std::erase(cifre, '.');
    int esponente = 0;
    std::from_chars(testo.data() + e + (testo[e + 1] == '+' ? 2 : 1), fine, esponente);
    const std::ptrdiff_t interi = esponente + 1;
    const auto n = static_cast<std::size_t>(std::abs(interi));
    if (interi <= 0) {
        c.frazione = std::string(n, '0') + cifre;
    } else if (n >= cifre.size()) {
        c.intera = cifre + std::string(n - cifre.size(), '0');
    } else {
        c.intera = cifre.substr(0, n);
        c.frazione = cifre.substr(n);
    }
}

Cifre CifreArrotondate(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double magnitude = std::fabs(x) * scale;
    Cifre c;
    if (magnitude < kUnitaConTolleranza) {
        // A value that is a half in decimal terms may sit just below it in binary.
        const double floorPart = std::floor(magnitude);
        const double tolerance =
            std::max(1e-9, 8 * std::numeric_limits<double>::epsilon() * magnitude);
        const double rounded = magnitude - floorPart >= 0.5 - tolerance ? floorPart + 1 : floorPart;
        c.valore = rounded / scale;
        std::string buffer(static_cast<std::size_t>(decimals) + 32, '\0');
        char* const inizio = buffer.data();
        const char* const fine = std::to_chars(inizio, inizio + buffer.size(), *c.valore,
                                               std::chars_format::fixed, decimals)
                                     .ptr;
        Dividi(std::string_view(inizio, static_cast<std::size_t>(fine - inizio)), c);
        return c;
    }
    CifreEssenziali(std::fabs(x), c);
    ArrotondaCifre(c.intera, c.frazione, static_cast<std::size_t>(decimals));
    return c;
}

}  // namespace

std::optional<double> LeggiNumero(std::string_view text) {
    std::string_view t = SenzaBianchi(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    std::string intera;
    std::string frazione;
    bool comma = false;
    for (const char ch : t) {
        if (Cifra(ch)) {
            (comma ? frazione : intera) += ch;
        } else if (ch == '.' && !comma) {
            continue;  // grouping separator
        } else if (ch == ',' && !comma) {
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (intera.empty() && frazione.empty()) return std::nullopt;
    const auto value = DaCifre(intera, frazione);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

double Valore(std::string_view text) {
    return LeggiNumero(text).value_or(0.0);
}

std::optional<double> LeggiNumeroInserito(std::string_view text) {
    const std::string_view t = SenzaBianchi(text);
    if (t.empty()) return std::nullopt;
    const auto separatore = t.find_first_of(",.");
    if (separatore == std::string_view::npos) {
        return SoloCifre(t) ? DaCifre(t, {}) : std::nullopt;
    }
    const std::string_view prima = t.substr(0, separatore);
    const std::string_view dopo = t.substr(separatore + 1);
    if (SoloCifre(prima) && SoloCifre(dopo)) return DaCifre(prima, dopo);
    return LeggiRaggruppato(t);
}

std::optional<long long> LeggiInteroInserito(std::string_view text) {
    const std::string_view t = SenzaBianchi(text);
    if (t.empty() || t.size() > 18 || !SoloCifre(t)) return std::nullopt;
    long long valore = 0;
    std::from_chars(t.data(), t.data() + t.size(), valore);
    return valore;
}

int CifreIntereAmmesse(int lunghezzaMassima) {
    int cifre = 0;
    while (cifre < kCifreIntereMassime) {
        const int prossime = cifre + 1;
        // The digits, a grouping point every three, the comma and two decimals.
        const int mostrata = prossime + (prossime - 1) / 3 + 3;
        if (lunghezzaMassima > 0 && mostrata > lunghezzaMassima) break;
        cifre = prossime;
    }
    return cifre;
}

std::optional<double> LeggiImporto(std::string_view text, int lunghezzaMassima) {
    const auto valore = LeggiNumeroInserito(text);
    if (!valore) return std::nullopt;
    double limite = 1;
    for (int i = CifreIntereAmmesse(lunghezzaMassima); i > 0; --i) limite *= 10;
    if (ArrotondaLontanoDaZero(*valore, 2) >= limite) return std::nullopt;
    return valore;
}

double ArrotondaLontanoDaZero(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    const Cifre c = CifreArrotondate(x, std::max(decimals, 0));
    const double magnitude = c.valore ? *c.valore : DaCifre(c.intera, c.frazione).value_or(x);
    return std::copysign(magnitude, x);
}

double ImportoMostrato(double x) {
    return std::isfinite(x) ? ArrotondaLontanoDaZero(x, 2) : 0.0;
}

double SingolaPrecisione(double v) {
    if (std::fabs(v) > std::numeric_limits<float>::max()) {
        return std::copysign(std::numeric_limits<double>::infinity(), v);
    }
    return static_cast<float>(v);
}

std::string Formato(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return std::string();
    const auto point = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, point);
    const std::string_view decPart =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const bool grouping = intPart.find(',') != std::string_view::npos;
    const auto minInt = static_cast<std::size_t>(std::count(intPart.begin(), intPart.end(), '0'));
    std::size_t mandatory = decPart.size();
    while (mandatory > 0 && decPart[mandatory - 1] == '#') --mandatory;

    Cifre c = CifreArrotondate(value, static_cast<int>(decPart.size()));
    std::string& integer = c.intera;
    std::string& frac = c.frazione;
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    const bool zero = integer.empty() && frac.find_first_not_of('0') == std::string::npos;
    while (frac.size() > mandatory && frac.back() == '0') frac.pop_back();
    if (integer.size() < minInt) integer.insert(0, minInt - integer.size(), '0');
    if (grouping) {
        for (auto pos = static_cast<std::ptrdiff_t>(integer.size()) - 3; pos > 0; pos -= 3) {
            integer.insert(static_cast<std::size_t>(pos), ".");
        }
    }
    std::string out = integer;
    if (!frac.empty()) out += "," + frac;
    if (!zero && std::signbit(value)) out.insert(0, "-");
    return out;
}

std::string Euro(double value) {
    return Formato(value, kFormatoImporto);
}

std::string FormatoTesto(const std::string& text, std::string_view pattern) {
    if (text.empty()) return std::string();
    const auto value = LeggiNumero(text);
    return value ? Formato(*value, pattern) : std::string();
}

}  // namespace rules
