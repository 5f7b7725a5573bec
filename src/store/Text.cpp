#include "store/Text.h"

namespace store {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Byte offset of the character with 0-based index n (the size when the text is shorter).
std::size_t byteOffset(const std::string& s, std::size_t n) {
    std::size_t i = 0;
    while (i < s.size() && n > 0) {
        ++i;
        while (i < s.size() && isContinuation(static_cast<unsigned char>(s[i]))) ++i;
        --n;
    }
    return i;
}

// Simple upper-case mapping of Basic Latin, Latin-1 Supplement and Latin Extended-A.
char32_t upperCodePoint(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c < 0xB5) return c;
    if (c == 0xB5) return 0x39C;  // micro sign -> Greek capital mu
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return U'I';  // dotless i
    if (c == 0x17F) return U'S';  // long s
    const bool odd = (c & 1) != 0;
    if (c >= 0x100 && c <= 0x137) return odd ? c - 1 : c;
    if (c >= 0x139 && c <= 0x148) return odd ? c : c - 1;
    if (c >= 0x14A && c <= 0x177) return odd ? c - 1 : c;
    if (c >= 0x179 && c <= 0x17E) return odd ? c : c - 1;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::size_t utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (char c : s) {
        if (!isContinuation(static_cast<unsigned char>(c))) ++n;
    }
    return n;
}

std::string utf8Left(const std::string& s, std::size_t n) {
    return s.substr(0, byteOffset(s, n));
}

std::string utf8Mid(const std::string& s, std::size_t start, std::size_t count) {
    const std::size_t from = byteOffset(s, start > 0 ? start - 1 : 0);
    if (count == std::string::npos) return s.substr(from);
    const std::string rest = s.substr(from);
    return rest.substr(0, byteOffset(rest, count));
}

std::string utf8Upper(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        // Only two-byte sequences (U+0080 to U+07FF) hold letters that change here.
        if ((lead & 0xE0) == 0xC0 && i + 1 < s.size() &&
            isContinuation(static_cast<unsigned char>(s[i + 1]))) {
            const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) |
                               (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            appendUtf8(out, upperCodePoint(c));
            i += 2;
        } else {
            out += lead < 0x80 ? static_cast<char>(upperCodePoint(lead)) : s[i];
            ++i;
        }
    }
    return out;
}

}  // namespace store
