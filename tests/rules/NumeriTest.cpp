#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rules/Numeri.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The patterns the program shows numbers with.
const char* const kPatterns[] = {"#,##0.00", "#.00",      "#0.00", "#",
                                 "#0.#0",    "#0.000000", "#,##0", "#,##0.0"};

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
        {2.675, "#,##0.00", "2,68"},  // the decimal half, though just below it in binary
        {24.005, "#0.#0", "24,01"},
        {1234.5, "#.00", "1234,50"},
        {0.5, "#.00", ",50"},
        {0, "#", ""},
        {2.5, "#", "3"},
        {28.574, "#0.#0", "28,57"},
        {50.5, "#0.000000", "50,500000"},
        {-0.001, "#,##0.00", "0,00"},
        {-0.0, "#0.00", "0,00"},
        // Large values keep every digit and still round their decimal halves.
        {99999999999999999.0, "#,##0.00", "100.000.000.000.000.000,00"},
        {-1e17, "#.00", "-100000000000000000,00"},
        {9999999999999.99, "#,##0.00", "9.999.999.999.999,99"},
        {12345678901.005, "#,##0.00", "12.345.678.901,01"},
        {4503599627370497.0, "#", "4503599627370497"},
        {5e-324, "#0.00", "0,00"},
        // No decimal form: nothing is shown.
        {kNaN, "#,##0.00", ""},
        {kInf, "#,##0.00", ""},
        {-kInf, "#", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::Formato(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
    }
    EXPECT_EQ(rules::Formato(1e300, "#0.00"), "1" + std::string(300, '0') + ",00");
    EXPECT_EQ(rules::Formato(std::numeric_limits<double>::max(), "#").size(), 309U);
}

TEST(Formato, WhatIsShownReadsBackAsTheRoundedValue) {
    for (const double v : {0.015, 1.005, 1234.565, -1234.565, 99999999999.99, 1234567.8945,
                           9999999999999.995, 3.3e15, 1.5e300, -2.5e-7, 0.1 + 0.2}) {
        for (const char* pattern : kPatterns) {
            const std::string shown = rules::Formato(v, pattern);
            EXPECT_EQ(rules::Formato(rules::Valore(shown), pattern), shown) << v << " " << pattern;
        }
        EXPECT_EQ(rules::Valore(rules::Formato(v, "#.00")), rules::ArrotondaLontanoDaZero(v, 2));
        // The rules read a result back as its field shows it, then as the field reads it.
        const std::string campo = rules::FormatoTesto(rules::Formato(v, "#,##0.00"), "#.00");
        EXPECT_EQ(rules::Valore(campo), rules::ImportoMostrato(v)) << v;
    }
    EXPECT_TRUE(std::isnan(rules::ArrotondaLontanoDaZero(kNaN, 2)));
    for (const double v : {kNaN, kInf, -kInf}) EXPECT_EQ(rules::ImportoMostrato(v), 0) << v;
}

TEST(LeggiNumero, ReadsGroupingPointsAndDecimalComma) {
    struct Case {
        const char* text;
        double value;
        bool ok;
    };
    const Case cases[] = {
        {"1.234,50", 1234.5, true}, {"12,5", 12.5, true}, {",50", 0.5, true}, {"1.2.3", 123, true},
        {"-3,25", -3.25, true},     {" 0.00 ", 0, true},  {"", 0, false},     {"1,2,3", 0, false},
        {"12a", 0, false},          {"1e5", 0, false},    {",", 0, false},
    };
    for (const auto& c : cases) {
        const auto read = rules::LeggiNumero(c.text);
        EXPECT_EQ(read.has_value(), c.ok) << c.text;
        if (read) {
            EXPECT_DOUBLE_EQ(*read, c.value) << c.text;
        }
    }
    EXPECT_FALSE(rules::LeggiNumero(std::string(400, '9')).has_value());
    EXPECT_EQ(rules::LeggiNumero("0," + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(rules::Valore(""), 0);
    EXPECT_EQ(rules::Valore("garbage"), 0);
    EXPECT_EQ(rules::FormatoTesto("", "#,##0.00"), "");
    EXPECT_EQ(rules::FormatoTesto("1.234,5", "#.00"), "1234,50");
}

TEST(LeggiNumeroInserito, TakesTypedAndDisplayedItalianFormsOnly) {
    // What the key filter lets one type (a single point is the decimal one), and what the
    // display patterns write.
    const std::pair<const char*, double> accepted[] = {
        {"12", 12},
        {"12,5", 12.5},
        {"12.5", 12.5},
        {",50", 0.5},
        {"12,", 12},
        {",", 0},
        {"1.234", 1.234},
        {"0.00", 0},
        {"1.234,56", 1234.56},
        {"12.345,67", 12345.67},
        {"1.234.567", 1234567},
        {" 1.234,50 ", 1234.5},
    };
    for (const auto& [text, value] : accepted) {
        const auto read = rules::LeggiNumeroInserito(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_DOUBLE_EQ(*read, value) << text;
    }
    for (const char* text :
         {"", "   ", "-5", "+5", "12a0o,5 euro", "1e308", "1,2,3", "1,2.3", "1.2.3", "12.34.567",
          "1.2345,6", "0.123,45", "1 234,5", "\t12", "inf", "nan", "0x10"}) {
        EXPECT_FALSE(rules::LeggiNumeroInserito(text).has_value()) << text;
    }
    EXPECT_EQ(rules::LeggiInteroInserito(" 12 "), 12);
    for (const char* text : {"", "3x", "3,0", "-3", "1234567890123456789"}) {
        EXPECT_FALSE(rules::LeggiInteroInserito(text).has_value()) << text;
    }
}

TEST(LeggiImporto, RefusesAmountsLargerThanTheFieldShows) {
    struct Case {
        int length;
        int digits;
        const char* largest;  // accepted
        const char* refused;  // the next cent up
    };
    const Case cases[] = {
        {17, 11, "99.999.999.999,99", "100.000.000.000,00"},
        {15, 9, "999999999,99", "1.000.000.000"},
        {10, 6, "999.999,99", "999999,995"},
        {0, 13, "9999999999999,99", "99999999999999999"},
        {40, 13, "9.999.999.999.999,99", "10.000.000.000.000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::CifreIntereAmmesse(c.length), c.digits) << c.length;
        EXPECT_TRUE(rules::LeggiImporto(c.largest, c.length).has_value()) << c.largest;
        EXPECT_FALSE(rules::LeggiImporto(c.refused, c.length).has_value()) << c.refused;
        // The largest amount accepted fits the field as shown, and reads back the same.
        const std::string shown =
            rules::Formato(*rules::LeggiImporto(c.largest, c.length), "#,##0.00");
        if (c.length > 0) {
            EXPECT_LE(shown.size(), static_cast<std::size_t>(c.length));
        }
        EXPECT_EQ(rules::LeggiImporto(shown, c.length),
                  rules::ArrotondaLontanoDaZero(*rules::LeggiImporto(c.largest, c.length), 2));
    }
    EXPECT_FALSE(rules::LeggiImporto("-1", 17).has_value());
    EXPECT_FALSE(rules::LeggiImporto(std::string(400, '9'), 0).has_value());
}

}  // namespace
