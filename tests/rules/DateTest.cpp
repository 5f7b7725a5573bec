#include <gtest/gtest.h>

#include "rules/Date.h"

namespace {

TEST(LeggiData, AcceptsDayMonthYearAndRefusesDaysThatDoNotExist) {
    struct Case {
        const char* text;
        const char* shown;  // nullptr: not a date
    };
    const Case cases[] = {
        {"14/07/2006", "14/07/2006"}, {"1/2/2006", "01/02/2006"},
        {"14-07-2006", "14/07/2006"}, {"14/07/06", "14/07/2006"},
        {"29/02/2004", "29/02/2004"}, {"31/02/2006", nullptr},
        {"29/02/2006", nullptr},      {"00/01/2006", nullptr},
        {"12/13/2006", nullptr},      {"", nullptr},
        {"14/07/2006x", nullptr},     {"14/07-2006", nullptr},
        {"14/07/200", nullptr},
    };
    for (const auto& c : cases) {
        const auto d = rules::LeggiData(c.text);
        if (c.shown == nullptr) {
            EXPECT_FALSE(d.has_value()) << c.text;
        } else {
            ASSERT_TRUE(d.has_value()) << c.text;
            EXPECT_EQ(rules::FormattaData(*d), c.shown);
        }
    }
}

}  // namespace
