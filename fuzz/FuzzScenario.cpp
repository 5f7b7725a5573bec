// Scenario files: any text is either a list of commands or a parse error with a line number.
#include <cstdint>
#include <string>

#include "script/Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        for (const script::Command& c : script::parseScenario(text)) {
            for (const std::string& word : c.args) (void)script::inQuotes(word);
        }
    } catch (const script::ParseError&) {
        // Refused with its line: the expected outcome for a malformed file.
    }
    return 0;
}
