// Statement texts in the program's dialect: the translation never crashes, whatever the
// quotes, comments, placeholders and function names it meets.
#include <cstdint>
#include <string>

#include "store/Dialect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)store::translate(text);
    } catch (const std::exception&) {
        // An unreadable statement is refused with an error; that is the expected outcome.
    }
    (void)store::quote(text);
    return 0;
}
