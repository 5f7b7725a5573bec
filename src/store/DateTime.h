#pragma once
// Calendar dates and moments, stored in the archive as ISO texts ("2006-09-15",
// "2006-09-15 10:00:00").
#include <optional>
#include <string>

namespace store {

struct Date {
    int year = 0, month = 0, day = 0;
    auto operator<=>(const Date&) const = default;
    bool valid() const;       // an existing calendar day
    std::string iso() const;  // "YYYY-MM-DD"
};

struct DateTime {
    Date date;
    int hour = 0, minute = 0, second = 0;
    auto operator<=>(const DateTime&) const = default;
    std::string iso() const;  // "YYYY-MM-DD HH:MM:SS"
};

// Reads a stored date or moment: ISO forms, with or without the time; also dd/mm/yyyy.
std::optional<DateTime> parseStoredDateTime(const std::string& text);

}  // namespace store
