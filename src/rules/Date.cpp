#include "rules/Date.h"

#include <cstdio>
#include <vector>

namespace rules {

std::optional<store::Date> LeggiData(const std::string& text) {
    std::vector<std::string> parts(1);
    char separator = 0;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            parts.back() += ch;
        } else if ((ch == '/' || ch == '-' || ch == '.') && (separator == 0 || ch == separator)) {
            separator = ch;
            parts.emplace_back();
        } else if (ch == ' ' && parts.size() == 1 && parts[0].empty()) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (parts.size() != 3) return std::nullopt;
    for (const auto& p : parts) {
        if (p.empty() || p.size() > 4) return std::nullopt;
    }
    if (parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() == 3) return std::nullopt;
    store::Date d{std::stoi(parts[2]), std::stoi(parts[1]), std::stoi(parts[0])};
    if (parts[2].size() <= 2) d.year += d.year < 30 ? 2000 : 1900;
    if (!d.valid()) return std::nullopt;
    return d;
}

std::string FormattaData(const store::Date& d) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", d.day % 100, d.month % 100,
                  d.year % 10000);
    return buffer;
}

std::string FormattaDataMemorizzata(const std::string& stored) {
    const auto moment = store::parseStoredDateTime(stored);
    return moment ? FormattaData(moment->date) : std::string();
}

}  // namespace rules
