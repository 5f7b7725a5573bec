#pragma once
// An engine failure: number, description and the component that raised it.
#include <stdexcept>
#include <string>

namespace store {

// Numbers of the failures raised by the row sources themselves; failures of the engine carry
// the engine's own numbers (26: file is encrypted or is not a database, 5: database is locked).
inline constexpr int kErrNoPendingRow = 3020;
inline constexpr int kErrNoCurrentRow = 3021;
inline constexpr int kErrNotUpdatable = 3027;
inline constexpr int kErrRowDeleted = 3167;
inline constexpr int kErrUnknownField = 3265;

class DbError : public std::runtime_error {
public:
    // `detail` is the engine's own text, kept for the scenario runner and developers; the
    // operator reads `description`.
    DbError(int number, std::string description, std::string source, std::string detail = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)),
          detail_(std::move(detail)) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }
    const std::string& detail() const { return detail_; }

private:
    int number_;
    std::string description_;
    std::string source_;
    std::string detail_;
};

// The reason an engine failure gives the operator, in Italian, from the engine's extended
// result code. Only the messages raised by the archive's own triggers keep the engine's text,
// since they are the archive's words, not the engine's.
std::string MotivoErrore(int extendedCode, const std::string& engineText);

}  // namespace store
