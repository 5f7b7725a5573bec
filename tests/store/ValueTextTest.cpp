#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "PrintValue.h"
#include "store/DateTime.h"
#include "store/Text.h"
#include "store/Value.h"

using store::Value;

TEST(Value, TextIsWhatTheEnginePrints) {
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        {Value(0.0), "0.0"},       {Value(1234.5), "1234.5"}, {Value(12.0), "12.0"},
        {Value(617.28), "617.28"}, {Value(0.1 + 0.2), "0.3"}, {Value(12), "12"},
        {Value(-7), "-7"},         {Value("abc"), "abc"},     {Value(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.toText(), c.text) << c.text;
}

TEST(Value, LeadingNumberOfText) {
    const struct {
        const char* text;
        Value expected;
    } cases[] = {
        {"12", Value(12)},
        {"  -7abc", Value(-7)},
        {"+3", Value(3)},
        {"12.50x", Value(12.5)},
        {"12.00", Value(12)},
        {".5", Value(0.5)},
        {"1.2.3", Value(1.2)},
        {"3,5", Value(3)},
        {"abc", Value(0)},
        {"", Value(0)},
        {"-", Value(0)},
        {"7 8", Value(7)},
        {"99999999999999999999", Value(1e20)},
    };
    for (const auto& c : cases) EXPECT_EQ(store::leadingNumber(c.text), c.expected) << c.text;
}

TEST(Value, ConversionsBetweenKinds) {
    EXPECT_EQ(Value(2.7).toInt(), 2);
    EXPECT_EQ(Value(-2.7).toInt(), -2);
    EXPECT_EQ(Value("12.5 mq").toDouble(), 12.5);
    EXPECT_EQ(Value("12.5").toInt(), 12);
    EXPECT_EQ(Value().toInt(), 0);
    EXPECT_TRUE(Value().isNull());
    EXPECT_FALSE(Value("").isNull());
}

TEST(Text, CutsCountCharactersNotBytes) {
    EXPECT_EQ(store::utf8Length("CITTÀ"), 5u);
    EXPECT_EQ(store::utf8Left("CITTÀ DI VALDORIA", 5), "CITTÀ");
    EXPECT_EQ(store::utf8Left("abc", 10), "abc");
    EXPECT_EQ(store::utf8Mid("àèìòù", 2, 2), "èì");
    EXPECT_EQ(store::utf8Mid("A001012005AB12", 13), "12");
    EXPECT_EQ(store::utf8Mid("abc", 5), "");
}

TEST(Text, UpperCaseCoversAccentedLetters) {
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {
        {"città", "CITTÀ"}, {"niccolò", "NICCOLÒ"}, {"d'angelo", "D'ANGELO"},
        {"über", "ÜBER"},   {"çé", "ÇÉ"},           {"ÿ", "Ÿ"},
        {"łódź", "ŁÓDŹ"},   {"ščř", "ŠČŘ"},         {"ı", "I"},
        {"ß÷", "ß÷"},       {"€ 10", "€ 10"},       {"ROSSI", "ROSSI"},
    };
    for (const auto& c : cases) EXPECT_EQ(store::utf8Upper(c.text), c.upper) << c.text;
}

TEST(DateTime, ReadsStoredFormsAndRefusesMissingDays) {
    using store::DateTime;
    const DateTime sept15{{2006, 9, 15}, 0, 0, 0};
    const DateTime sept15At{{2006, 9, 15}, 10, 20, 30};
    const struct {
        const char* text;
        std::optional<DateTime> expected;
    } cases[] = {
        {"2006-09-15", sept15},
        {"2006-09-15 10:20:30", sept15At},
        {"2006-09-15T10:20:30", sept15At},
        {"15/09/2006", sept15},
        {"15/9/2006", sept15},
        {"15/09/2006 10:20:30", sept15At},
        {"29/02/2004", DateTime{{2004, 2, 29}, 0, 0, 0}},
        {"31/02/2006", std::nullopt},
        {"29/02/2006", std::nullopt},
        {"31/09/2006", std::nullopt},
        {"2006-02-30", std::nullopt},
        {"2006-13-01", std::nullopt},
        {"15/09/2006 24:00:00", std::nullopt},
        {"15/09/2006T10:20:30", std::nullopt},
        {"2006-09-15x", std::nullopt},
        {"15/09/06", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(store::parseStoredDateTime(c.text), c.expected) << c.text;
    EXPECT_EQ(sept15At.iso(), "2006-09-15 10:20:30");
    EXPECT_EQ(sept15.date.iso(), "2006-09-15");
}
