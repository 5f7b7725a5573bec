#pragma once
// Reads scenario files: one command per line, words split on blanks, double quotes (which may
// open inside a word) group blanks, with the escapes \" \\ \r \n \t inside quotes. Every line is
// checked against the command table before anything runs.
#include <stdexcept>
#include <string>
#include <vector>

namespace script {

struct Command {
    int line = 0;
    std::string name;
    std::vector<std::string> args;
};

// A line that is not a known command with the right arguments. what() reads
// "<what was expected> / <what was found>".
class ParseError : public std::runtime_error {
public:
    ParseError(int line, const std::string& expected, const std::string& found)
        : std::runtime_error(expected + " / " + found), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Splits one line into words. Throws ParseError (line 0) for a quote left open.
std::vector<std::string> splitWords(const std::string& line);

// The commands of a scenario text, in order. Throws ParseError with the line number.
std::vector<Command> parseScenario(const std::string& text);

// A word written back as a scenario word in quotes, escapes included, for messages.
std::string inQuotes(const std::string& word);

}  // namespace script
