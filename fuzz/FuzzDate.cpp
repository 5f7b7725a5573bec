// Dates typed by the operator and dates read back from an archive: never a crash, and what
// is read is a real calendar day that writes back to the same day.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rules/Date.h"
#include "store/DateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto typed = rules::LeggiData(text)) {
        if (!typed->valid()) std::abort();
        if (rules::LeggiData(rules::FormattaData(*typed)) != typed) std::abort();
    }
    if (const auto stored = store::parseStoredDateTime(text)) {
        const auto again = store::parseStoredDateTime(stored->iso());
        if (!again || *again != *stored) std::abort();
        (void)rules::FormattaDataMemorizzata(text);
    }
    return 0;
}
