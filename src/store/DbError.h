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
    DbError(int number, std::string description, std::string source)
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

private:
    int number_;
    std::string description_;
    std::string source_;
};

}  // namespace store
