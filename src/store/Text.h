#pragma once
// UTF-8 text helpers used by the dialect and by the screens: lengths and cuts count
// characters, and upper case covers the accented letters of Italian names.
#include <string>

namespace store {

std::size_t utf8Length(const std::string& s);
std::string utf8Left(const std::string& s, std::size_t n);
// From 1-based character position start to the end (or count characters).
std::string utf8Mid(const std::string& s, std::size_t start, std::size_t count = std::string::npos);
std::string utf8Upper(const std::string& s);

}  // namespace store
