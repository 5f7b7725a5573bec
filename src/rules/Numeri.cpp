#include "rules/Numeri.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace rules {

std::optional<double> LeggiNumero(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits;
    bool anyDigit = false;
    bool comma = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch >= '0' && ch <= '9') {
            digits += ch;
            anyDigit = true;
        } else if (ch == '.' && !comma) {
            continue;  // grouping separator
        } else if (ch == ',' && !comma) {
            comma = true;
            digits += '.';
        } else {
            break;
        }
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (!anyDigit || i != text.size()) return std::nullopt;
    const double value = std::strtod(digits.c_str(), nullptr);
    return negative ? -value : value;
}

double Valore(const std::string& text) {
    return LeggiNumero(text).value_or(0.0);
}

double ArrotondaLontanoDaZero(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    const double magnitude = std::fabs(scaled);
    const double floorPart = std::floor(magnitude);
    // A value that is a half in decimal terms may sit just below it in binary.
    const double tolerance = std::max(1e-9, 8 * std::numeric_limits<double>::epsilon() * magnitude);
    double rounded = magnitude - floorPart >= 0.5 - tolerance ? floorPart + 1 : floorPart;
    return std::copysign(rounded / scale, x);
}

std::string Formato(double value, std::string_view pattern) {
    const auto point = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, point);
    const std::string_view decPart =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const bool grouping = intPart.find(',') != std::string_view::npos;
    std::size_t minInt = 0;
    for (char ch : intPart) minInt += ch == '0' ? 1 : 0;
    const int decimals = static_cast<int>(decPart.size());
    std::size_t mandatory = decPart.size();
    while (mandatory > 0 && decPart[mandatory - 1] == '#') --mandatory;

    const double rounded = ArrotondaLontanoDaZero(value, decimals);
    const double scaled = std::fabs(rounded) * std::pow(10.0, decimals);
    const auto units = static_cast<std::uint64_t>(std::llround(scaled));
    std::uint64_t divisor = 1;
    for (int d = 0; d < decimals; ++d) divisor *= 10;
    const std::uint64_t whole = units / divisor;
    std::string frac = decimals > 0 ? std::to_string(units % divisor) : std::string();
    frac.insert(0, static_cast<std::size_t>(decimals) - frac.size(), '0');
    while (frac.size() > mandatory && frac.back() == '0') frac.pop_back();

    std::string integer = whole == 0 ? std::string() : std::to_string(whole);
    if (integer.size() < minInt) integer.insert(0, minInt - integer.size(), '0');
    if (grouping) {
        for (int pos = static_cast<int>(integer.size()) - 3; pos > 0; pos -= 3) {
            integer.insert(static_cast<std::size_t>(pos), ".");
        }
    }
    std::string out = integer;
    if (!frac.empty()) out += "," + frac;
    if (units != 0 && rounded < 0) out.insert(0, "-");
    return out;
}

std::string FormatoTesto(const std::string& text, std::string_view pattern) {
    if (text.empty()) return std::string();
    const auto value = LeggiNumero(text);
    return value ? Formato(*value, pattern) : std::string();
}

int FiltraNumeriVirgole(int key, const std::string& currentText) {
    const bool digit = key >= '0' && key <= '9';
    const bool separator = key == ',' || key == '.';
    if (!digit && !separator && key != 8) return 0;
    if (separator && currentText.find_first_of(",.") != std::string::npos) return 0;
    return key;
}

}  // namespace rules
