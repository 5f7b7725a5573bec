#include "store/Value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

Value leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t intBegin = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::size_t intEnd = i;
    bool fractional = false;  // some fraction digit other than 0
    std::size_t end = intEnd;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            if (text[j] != '0') fractional = true;
            ++j;
        }
        if (j > i + 1) end = j;
    }
    if (end == intBegin) return Value(std::int64_t{0});  // no digits at all

    const bool negative = text[start] == '-';
    if (!fractional) {
        std::int64_t whole = 0;
        const char* first = text.data() + intBegin;
        const char* last = text.data() + intEnd;
        auto [ptr, ec] = std::from_chars(first, last, whole);
        if (ec == std::errc() && ptr == last) return Value(negative ? -whole : whole);
        if (first == last) return Value(std::int64_t{0});  // "." followed by zeros only
    }
    // from_chars takes no leading '+', and reads independently of the locale.
    double real = 0.0;
    std::from_chars(text.data() + intBegin, text.data() + end, real);
    return Value(negative ? -real : real);
}

std::int64_t Value::toInt() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    if (const auto* d = std::get_if<double>(&v_)) {
        constexpr double kLimit = 9.2e18;
        if (std::isnan(*d)) return 0;
        if (*d >= kLimit) return std::numeric_limits<std::int64_t>::max();
        if (*d <= -kLimit) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(*d);  // toward zero, as the engine's CAST
    }
    if (const auto* s = std::get_if<std::string>(&v_)) return leadingNumber(*s).toInt();
    return 0;
}

double Value::toDouble() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v_)) return *d;
    if (const auto* s = std::get_if<std::string>(&v_)) return leadingNumber(*s).toDouble();
    return 0.0;
}

std::string Value::toText() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v_)) {
        char buffer[64];
        sqlite3_snprintf(sizeof buffer, buffer, "%!.15g", *d);
        return buffer;
    }
    if (const auto* s = std::get_if<std::string>(&v_)) return *s;
    return {};
}

}  // namespace store
