#include "store/DateTime.h"

#include <cstdio>

namespace store {

namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads between minDigits and maxDigits decimal digits at pos.
bool readNumber(const std::string& s, std::size_t& pos, int minDigits, int maxDigits, int& out) {
    int n = 0;
    int value = 0;
    while (pos < s.size() && n < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++n;
    }
    out = value;
    return n >= minDigits;
}

bool expect(const std::string& s, std::size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// "HH:MM" or "HH:MM:SS" running to the end of the text.
bool readTime(const std::string& s, std::size_t& pos, DateTime& dt) {
    if (!readNumber(s, pos, 1, 2, dt.hour) || !expect(s, pos, ':') ||
        !readNumber(s, pos, 2, 2, dt.minute)) {
        return false;
    }
    if (expect(s, pos, ':') && !readNumber(s, pos, 2, 2, dt.second)) return false;
    return pos == s.size() && dt.hour < 24 && dt.minute < 60 && dt.second < 60;
}

}  // namespace

bool Date::valid() const {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::string Date::iso() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string DateTime::iso() const {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s %02d:%02d:%02d", date.iso().c_str(), hour, minute,
                  second);
    return buffer;
}

std::optional<DateTime> parseStoredDateTime(const std::string& text) {
    DateTime dt;
    std::size_t pos = 0;
    const bool slashed = text.find('/') != std::string::npos;
    bool ok = slashed ? readNumber(text, pos, 1, 2, dt.date.day) && expect(text, pos, '/') &&
                            readNumber(text, pos, 1, 2, dt.date.month) && expect(text, pos, '/') &&
                            readNumber(text, pos, 4, 4, dt.date.year)
                      : readNumber(text, pos, 4, 4, dt.date.year) && expect(text, pos, '-') &&
                            readNumber(text, pos, 2, 2, dt.date.month) && expect(text, pos, '-') &&
                            readNumber(text, pos, 2, 2, dt.date.day);
    if (ok && pos < text.size()) {
        const char separator = text[pos++];
        ok = (separator == ' ' || (separator == 'T' && !slashed)) && readTime(text, pos, dt);
    }
    if (!ok || !dt.date.valid()) return std::nullopt;
    return dt;
}

}  // namespace store
