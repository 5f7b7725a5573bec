#pragma once
// Dates as the operator types and reads them: day/month/year.
#include <optional>
#include <string>

#include "store/DateTime.h"

namespace rules {

// Reads a typed date: day, month and year separated by "/", "-" or "."; a two-digit year
// means 1930-2029. A day that does not exist (31/02/2006) is not a date.
std::optional<store::Date> LeggiData(const std::string& text);

// "dd/mm/yyyy".
std::string FormattaData(const store::Date& d);

// A stored date or moment shown as "dd/mm/yyyy"; empty for an empty or unreadable value.
std::string FormattaDataMemorizzata(const std::string& stored);

}  // namespace rules
