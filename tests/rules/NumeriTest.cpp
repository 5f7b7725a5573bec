#include <gtest/gtest.h>

#include "rules/Numeri.h"

namespace {

TEST(Formato, DisplayPatternsFollowTheItalianConvention) {
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {0, "#,##0.00", "0,00"},
        {1234.5, "#,##0.00", "1.234,50"},
        {-1234.5, "#,##0.00", "-1.234,50"},
        {999.995, "#,##0.00", "1.000,00"},
        {0.125, "#,##0.00", "0,13"},  // a half goes away from zero
        {-0.125, "#,##0.00", "-0,13"},
        {2.675, "#,##0.00", "2,68"},
        {1234.5, "#.00", "1234,50"},
        {0.5, "#.00", ",50"},
        {0, "#", ""},
        {2.5, "#", "3"},
        {28.574, "#0.#0", "28,57"},
        {50.5, "#0.000000", "50,500000"},
        {-0.001, "#,##0.00", "0,00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::Formato(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    }
}

TEST(LeggiNumero, ReadsGroupingPointsAndDecimalComma) {
    struct Case {
        const char* text;
        double value;
        bool ok;
    };
    const Case cases[] = {
        {"1.234,50", 1234.5, true}, {"12,5", 12.5, true}, {",50", 0.5, true},  {"1.2.3", 123, true},
        {"-3,25", -3.25, true},     {"", 0, false},       {"1,2,3", 0, false}, {"12a", 0, false},
    };
    for (const auto& c : cases) {
        const auto read = rules::LeggiNumero(c.text);
        EXPECT_EQ(read.has_value(), c.ok) << c.text;
        if (read) {
            EXPECT_DOUBLE_EQ(*read, c.value) << c.text;
        }
    }
    EXPECT_EQ(rules::Valore(""), 0);
    EXPECT_EQ(rules::Valore("garbage"), 0);
    EXPECT_EQ(rules::FormatoTesto("", "#,##0.00"), "");
    EXPECT_EQ(rules::FormatoTesto("1.234,5", "#.00"), "1234,50");
}

TEST(FiltraNumeriVirgole, LetsOneSeparatorThrough) {
    EXPECT_EQ(rules::FiltraNumeriVirgole('5', "12"), '5');
    EXPECT_EQ(rules::FiltraNumeriVirgole(8, "12,5"), 8);
    EXPECT_EQ(rules::FiltraNumeriVirgole(',', "12"), ',');
    EXPECT_EQ(rules::FiltraNumeriVirgole(',', "1.2"), 0);
    EXPECT_EQ(rules::FiltraNumeriVirgole('.', "1,2"), 0);
    for (int key : {int{'-'}, int{'a'}, int{' '}, 13, 3, 22})
        EXPECT_EQ(rules::FiltraNumeriVirgole(key, ""), 0);
}

}  // namespace
