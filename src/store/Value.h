#pragma once
// A field value as the engine holds it: null, whole number, decimal number or text.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace store {

class Value {
public:
    Value() = default;  // null
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isReal() const { return std::holds_alternative<double>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }

    // Conversions: null gives 0 / 0.0 / "". A text converts by its leading number.
    std::int64_t toInt() const;
    double toDouble() const;
    // Text as the engine writes it: integers plainly, reals as the engine prints them
    // ("0.0", "1234.5"), text unchanged.
    std::string toText() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

// The number a text begins with: leading blanks skipped, an optional sign, digits, an optional
// '.' and digits. A whole value is an integer, anything else a real; no number at all gives 0.
Value leadingNumber(std::string_view text);

}  // namespace store
