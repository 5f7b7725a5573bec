#pragma once
// Shows values readably in test failures.
#include <ostream>

#include "store/Value.h"

namespace store {

inline void PrintTo(const Value& v, std::ostream* os) {
    if (v.isNull()) {
        *os << "null";
    } else {
        *os << (v.isInteger() ? "integer "
                : v.isReal()  ? "real "
                              : "text ")
            << '"' << v.toText() << '"';
    }
}

}  // namespace store
