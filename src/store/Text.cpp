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
    for (std::size_t i = 0; i < s.size();) {
        const auto ch = utf8Decode(s, i);
        const std::size_t length = ch ? ch->length : 1;
        // Only one- and two-byte sequences (up to U+07FF) hold letters that change here.
        if (ch && length <= 2) {
            out += utf8Encode(upperCodePoint(ch->code));
        } else {
            out.append(s, i, length);
        }
        i += length;
    }
    return out;
}

std::string utf8Encode(char32_t c) {
    std::string out;
    const auto byte = [&out](char32_t v) { out += static_cast<char>(v); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
    return out;
}

std::optional<Utf8Char> utf8Decode(std::string_view s, std::size_t i) {
    if (i >= s.size()) return std::nullopt;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return Utf8Char{c, 1};
    const std::size_t n = c >= 0xC2 && c <= 0xDF   ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || i + n > s.size()) return std::nullopt;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    const auto b = static_cast<unsigned char>(s[i + 1]);
    if ((c == 0xE0 && b < 0xA0) || (c == 0xED && b > 0x9F) || (c == 0xF0 && b < 0x90) ||
        (c == 0xF4 && b > 0x8F))
        return std::nullopt;
    char32_t code = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if (!isContinuation(next)) return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    return Utf8Char{code, n};
}

}  // namespace store
