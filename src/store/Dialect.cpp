#include "store/Dialect.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include <sqlcipher/sqlite3.h>

#include "store/Text.h"

namespace store {

namespace {

bool isIdentStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || u >= 0x80;
}
bool isIdentChar(char c) {
    return isIdentStart(c) || (c >= '0' && c <= '9') || c == '$';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool isDialectFunction(const std::string& lowered) {
    return lowered == "val" || lowered == "mid" || lowered == "left" || lowered == "ucase" ||
           lowered == "round";
}

// Position just past a quoted run that starts at pos with the quote character q; a doubled
// quote stays inside. Returns npos when the run is not closed.
std::size_t quotedEnd(const std::string& s, std::size_t pos, char q) {
    std::size_t i = pos + 1;
    while (i < s.size()) {
        if (s[i] == q) {
            if (i + 1 < s.size() && s[i + 1] == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return std::string::npos;
}

std::string unquote(std::string_view quoted, char q) {
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        out += quoted[i];
        if (quoted[i] == q) ++i;  // the second of a doubled pair
    }
    return out;
}

// ---- SQL functions -------------------------------------------------------------------------

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    }
    return false;
}

std::string textArg(sqlite3_value* v) {
    const auto* text = sqlite3_value_text(v);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_value_bytes(v)))
                : std::string();
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void sqlVal(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const Value v = leadingNumber(textArg(argv[0]));
    if (v.isInteger()) return sqlite3_result_int64(ctx, v.toInt());
    sqlite3_result_double(ctx, v.toDouble());
}

void sqlMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const sqlite3_int64 start = sqlite3_value_int64(argv[1]);
    const sqlite3_int64 count = argc > 2 ? sqlite3_value_int64(argv[2]) : -1;
    if (start < 1 || (argc > 2 && count < 0)) {
        return sqlite3_result_error(ctx, "mid: invalid start or length", -1);
    }
    const std::size_t n = argc > 2 ? static_cast<std::size_t>(count) : std::string::npos;
    resultText(ctx, utf8Mid(textArg(argv[0]), static_cast<std::size_t>(start), n));
}

void sqlLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) return sqlite3_result_error(ctx, "left: invalid length", -1);
    resultText(ctx, utf8Left(textArg(argv[0]), static_cast<std::size_t>(n)));
}

void sqlUcase(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    resultText(ctx, utf8Upper(textArg(argv[0])));
}

void sqlRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const sqlite3_int64 decimals = argc > 1 ? sqlite3_value_int64(argv[1]) : 0;
    if (decimals < -15 || decimals > 15) {
        return sqlite3_result_error(ctx, "Round: invalid number of decimals", -1);
    }
    sqlite3_result_double(ctx,
                          roundHalfEven(sqlite3_value_double(argv[0]), static_cast<int>(decimals)));
}

using SqlFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

}  // namespace

Translated translate(const std::string& sql) {
    Translated result;
    std::string& out = result.sql;
    out.reserve(sql.size() + 16);
    // Positions in out just after each '?' of the caller, with the caller's number for it;
    // renumbered past the literals once their count is known.
    std::vector<std::pair<std::size_t, int>> callerParams;
    int callerMax = 0;

    std::size_t i = 0;
    auto copyUntil = [&](std::size_t end) {
        end = std::min(end, sql.size());
        out.append(sql, i, end - i);
        i = end;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '`' || c == '[') {
            const std::size_t end = c == '[' ? sql.find(']', i) : quotedEnd(sql, i, c);
            copyUntil(end == std::string::npos ? end : (c == '[' ? end + 1 : end));
        } else if (c == '"') {
            const std::size_t end = quotedEnd(sql, i, '"');
            if (end == std::string::npos) {  // left for the engine to refuse
                copyUntil(end);
                continue;
            }
            result.params.emplace_back(unquote(std::string_view(sql).substr(i, end - i), '"'));
            out += '?';
            out += std::to_string(result.params.size());
            i = end;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            copyUntil(sql.find('\n', i));
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t end = sql.find("*/", i + 2);
            copyUntil(end == std::string::npos ? end : end + 2);
        } else if (c == '?') {
            ++i;
            std::size_t j = i;
            while (j < sql.size() && isDigit(sql[j])) ++j;
            int number = callerMax + 1;
            if (j > i) number = std::stoi(sql.substr(i, std::min<std::size_t>(j - i, 9)));
            callerMax = std::max(callerMax, number);
            out += '?';
            callerParams.emplace_back(out.size(), number);
            i = j;
        } else if (isDigit(c)) {
            std::size_t j = i;
            while (j < sql.size() && (isIdentChar(sql[j]) || sql[j] == '.')) ++j;
            copyUntil(j);
        } else if (isIdentStart(c)) {
            std::size_t j = i;
            while (j < sql.size() && isIdentChar(sql[j])) ++j;
            std::size_t k = j;
            while (k < sql.size() && isSpace(sql[k])) ++k;
            const std::string word = lower(std::string_view(sql).substr(i, j - i));
            if (k < sql.size() && sql[k] == '(' && isDialectFunction(word)) {
                out += "vd_" + word;
                i = j;
            } else {
                copyUntil(j);
            }
        } else {
            out += c;
            ++i;
        }
    }
    const int literals = static_cast<int>(result.params.size());
    for (auto it = callerParams.rbegin(); it != callerParams.rend(); ++it) {
        out.insert(it->first, std::to_string(it->second + literals));
    }
    return result;
}

void registerDialectFunctions(sqlite3* db) {
    struct Entry {
        const char* name;
        int args;
        SqlFunction fn;
    };
    static constexpr Entry kFunctions[] = {
        {"vd_val", 1, sqlVal},     {"vd_mid", 2, sqlMid},     {"vd_mid", 3, sqlMid},
        {"vd_left", 2, sqlLeft},   {"vd_ucase", 1, sqlUcase}, {"vd_round", 1, sqlRound},
        {"vd_round", 2, sqlRound},
    };
    for (const Entry& e : kFunctions) {
        sqlite3_create_function_v2(db, e.name, e.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   e.fn, nullptr, nullptr, nullptr);
    }
}

std::string quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    out += '\'';
    return out;
}

double roundHalfEven(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    const double floor = std::floor(scaled);
    // Money values are decimal: 2.675 is held as 2.67499999..., yet it is an exact half of a
    // cent. A fraction within a few units of the last place of one half counts as a half.
    const double tolerance =
        std::max(1e-9, 8 * std::numeric_limits<double>::epsilon() * std::fabs(scaled));
    double rounded;
    if (std::fabs(scaled - floor - 0.5) <= tolerance) {
        rounded = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
    } else {
        rounded = std::round(scaled);
    }
    return rounded == 0.0 ? 0.0 : rounded / scale;  // no negative zero
}

}  // namespace store
