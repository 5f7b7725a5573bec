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
        {"  -7abc", Value(-7)}, {"12.50x", Value(12.5)}, {"12.00", Value(12)},
        {".5", Value(0.5)},     {"1.2.3", Value(1.2)},   {"3,5", Value(3)},
        {"abc", Value(0)},      {"-", Value(0)},         {"99999999999999999999", Value(1e20)},
    };
    for (const auto& c : cases) EXPECT_EQ(store::leadingNumber(c.text), c.expected) << c.text;
}

TEST(Text, UpperCaseCoversAccentedLetters) {
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {
        {"niccolò d'angelo", "NICCOLÒ D'ANGELO"},
        {"ÿçé", "ŸÇÉ"},
        {"łódź", "ŁÓDŹ"},
        {"ı", "I"},
        {"ß÷€", "ß÷€"},
    };
    for (const auto& c : cases) EXPECT_EQ(store::utf8Upper(c.text), c.upper) << c.text;
}

TEST(Text, Utf8SequencesReadBackAsWrittenAndMalformedOnesAreRefused) {
    const struct {
        const char* bytes;
        std::optional<char32_t> code;  // nothing: no character starts there
    } cases[] = {
        {"A", U'A'},
        {"\xC3\xA0", U'\u00E0'},              // à
        {"\xE2\x82\xAC", U'\u20AC'},          // €
        {"\xF0\x9F\x98\x80", U'\U0001F600'},  // four bytes
        {"\xF4\x8F\xBF\xBF", U'\U0010FFFF'},  // the last code point
        {"\xC0\xAF", std::nullopt},           // overlong "/"
        {"\xE0\x80\xAF", std::nullopt},       // overlong, three bytes
        {"\xED\xA0\x80", std::nullopt},       // a surrogate
        {"\xF4\x90\x80\x80", std::nullopt},   // past U+10FFFF
        {"\xE2\x82", std::nullopt},           // cut short
        {"\x82", std::nullopt},               // a continuation byte alone
        {"\xC3(", std::nullopt},              // a lead byte without its continuation
    };
    for (const auto& c : cases) {
        const std::string bytes = c.bytes;
        const auto ch = store::utf8Decode(bytes, 0);
        ASSERT_EQ(ch.has_value(), c.code.has_value()) << bytes;
        if (!ch) continue;
        EXPECT_EQ(ch->code, *c.code) << bytes;
        EXPECT_EQ(ch->length, bytes.size()) << bytes;
        EXPECT_EQ(store::utf8Encode(*c.code), bytes);
    }
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
        {"2006-09-15T10:20:30", sept15At},
        {"15/9/2006", sept15},
        {"15/09/2006 10:20:30", sept15At},
        {"29/02/2004", DateTime{{2004, 2, 29}, 0, 0, 0}},
        {"29/02/2006", std::nullopt},
        {"2006-09-31", std::nullopt},
        {"15/09/2006 24:00:00", std::nullopt},
        {"15/09/2006T10:20:30", std::nullopt},
        {"15/09/06", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(store::parseStoredDateTime(c.text), c.expected) << c.text;
}
