#pragma once
// UTF-8 text helpers used by the dialect and by the screens: lengths and cuts count
// characters, and upper case covers the accented letters of Italian names. The one place that
// reads and writes the bytes of UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace store {

std::size_t utf8Length(const std::string& s);
std::string utf8Left(const std::string& s, std::size_t n);
// From 1-based character position start to the end (or count characters).
std::string utf8Mid(const std::string& s, std::size_t start, std::size_t count = std::string::npos);
std::string utf8Upper(const std::string& s);

// The UTF-8 form of one code point, up to U+10FFFF.
std::string utf8Encode(char32_t c);

// The character whose UTF-8 sequence starts at byte i of s, and the sequence's length in bytes.
// Nothing when no well-formed sequence starts there: a continuation byte, an overlong form, a
// surrogate, a value past U+10FFFF, a sequence cut short (or i past the end).
struct Utf8Char {
    char32_t code;
    std::size_t length;
};
std::optional<Utf8Char> utf8Decode(std::string_view s, std::size_t i);

}  // namespace store
