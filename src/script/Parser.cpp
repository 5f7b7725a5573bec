#include "script/Parser.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <sstream>

namespace script {

namespace {

// What an argument must look like; checked before the file runs.
enum class Arg { Any, Int, YesNo, Answer, Fault, Media, OtherProgram, ReportKey };

struct Syntax {
    std::vector<Arg> args;
    bool moreReportKeys = false;  // any number of key=value words may follow
};

const std::map<std::string, Syntax>& commandTable() {
    using enum Arg;
    static const std::map<std::string, Syntax> table = {
        {"today", {{Any}}},
        {"configure", {{Any, Any, Any, Any, Any, Any}}},
        {"sql", {{Any}}},
        {"start", {{}}},
        {"login", {{Any, Any}}},
        {"fault", {{Fault}}},
        {"media", {{Media}}},
        {"other-program", {{OtherProgram}}},
        {"put-file", {{Any}}},
        {"focus", {{Any}}},
        {"type", {{Any, Any}}},
        {"clear", {{Any}}},
        {"set", {{Any, Any}}},
        {"key", {{Any, Int}}},
        {"leave", {{}}},
        {"tick", {{Any}}},
        {"untick", {{Any}}},
        {"choose", {{Any, Any}}},
        {"select", {{Any}}},
        {"click", {{Any}}},
        {"page", {{Int}}},
        {"row", {{Any, Int}}},
        {"dblclick", {{Any}}},
        {"close", {{}}},
        {"answer", {{Answer}}},
        {"expect-msg", {{Any, Any}}},
        {"expect-msg-start", {{Any, Any}}},
        {"expect-no-msg", {{}}},
        {"expect", {{Any, Any}}},
        {"expect-shown", {{Any, Any}}},
        {"expect-contains", {{Any, Any}}},
        {"expect-not-contains", {{Any, Any}}},
        {"expect-enabled", {{Any, YesNo}}},
        {"expect-visible", {{Any, YesNo}}},
        {"expect-focus", {{Any}}},
        {"expect-screen", {{Any}}},
        {"expect-title", {{Any}}},
        {"expect-sql", {{Any, Any}}},
        {"expect-grid", {{Any, Int}}},
        {"expect-cell", {{Any, Int, Int, Any}}},
        {"expect-report", {{Any}, true}},
        {"expect-no-report", {{}}},
        {"expect-file", {{Any, YesNo}}},
    };
    return table;
}

bool isWholeNumber(const std::string& s) {
    int n = 0;
    auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), n);
    return !s.empty() && err == std::errc() && end == s.data() + s.size();
}

bool oneOf(const std::string& s, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return s == w; });
}

// Returns what was expected when the word does not fit, empty when it does.
std::string mismatch(Arg arg, const std::string& word) {
    switch (arg) {
        case Arg::Any:
            return "";
        case Arg::Int:
            return isWholeNumber(word) ? "" : "a whole number";
        case Arg::YesNo:
            return oneOf(word, {"yes", "no"}) ? "" : "yes or no";
        case Arg::Answer:
            return oneOf(word, {"yes", "no", "ok", "cancel"}) ? "" : "yes, no, ok or cancel";
        case Arg::Fault:
            return oneOf(word, {"copy", "rename", "compact", "full"})
                       ? ""
                       : "copy, rename, compact or full";
        case Arg::Media:
            return oneOf(word, {"present", "absent", "readonly"}) ? ""
                                                                  : "present, absent or readonly";
        case Arg::OtherProgram:
            return oneOf(word, {"running", "ended", "killed"}) ? "" : "running, ended or killed";
        case Arg::ReportKey: {
            auto eq = word.find('=');
            std::string key = word.substr(0, eq);
            if (eq == std::string::npos ||
                !oneOf(key, {"rows", "title", "formula0", "formula1", "sql"}))
                return "rows=, title=, formula0=, formula1= or sql=";
            return key == "rows" && !isWholeNumber(word.substr(eq + 1)) ? "rows=<whole number>"
                                                                        : "";
        }
    }
    return "";
}

std::string argumentCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

void check(const Command& c) {
    const auto& table = commandTable();
    auto it = table.find(c.name);
    if (it == table.end()) throw ParseError(c.line, "a command", inQuotes(c.name));
    const Syntax& syntax = it->second;
    std::size_t n = syntax.args.size();
    if (c.args.size() < n || (c.args.size() > n && !syntax.moreReportKeys))
        throw ParseError(
            c.line,
            c.name + " with " + (syntax.moreReportKeys ? "at least " : "") + argumentCount(n),
            argumentCount(c.args.size()));
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        std::string expected = mismatch(i < n ? syntax.args[i] : Arg::ReportKey, c.args[i]);
        if (!expected.empty())
            throw ParseError(c.line, c.name + " " + expected, inQuotes(c.args[i]));
    }
}

}  // namespace

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word has started, even if it is still empty ("")
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char ch = line[i];
        if (inQuotes) {
            if (ch == '"') {
                inQuotes = false;
            } else if (ch == '\\' && i + 1 < line.size()) {
                char next = line[i + 1];
                switch (next) {
                    case '"':
                    case '\\':
                        word += next;
                        ++i;
                        break;
                    case 'r':
                        word += '\r';
                        ++i;
                        break;
                    case 'n':
                        word += '\n';
                        ++i;
                        break;
                    case 't':
                        word += '\t';
                        ++i;
                        break;
                    default:  // not an escape: the backslash stands for itself
                        word += ch;
                }
            } else {
                word += ch;
            }
        } else if (ch == ' ' || ch == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (ch == '"') {
            inQuotes = true;
            inWord = true;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inQuotes) throw ParseError(0, "a closing quote", "end of line");
    if (inWord) words.push_back(word);
    return words;
}

std::vector<Command> parseScenario(const std::string& text) {
    std::vector<Command> commands;
    // A byte order mark some editors write is no part of the first command.
    std::istringstream in(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::vector<std::string> words;
        try {
            words = splitWords(line);
        } catch (const ParseError&) {
            throw ParseError(number, "a closing quote", "end of line");
        }
        Command c{number, words.front(), {words.begin() + 1, words.end()}};
        check(c);
        commands.push_back(std::move(c));
    }
    return commands;
}

std::string inQuotes(const std::string& word) {
    std::string out = "\"";
    for (char ch : word) {
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += ch;
        }
    }
    return out + "\"";
}

}  // namespace script
