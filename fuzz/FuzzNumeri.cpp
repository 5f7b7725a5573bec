// Numbers typed or pasted by the operator and numbers shown by the display patterns: reading
// never crashes; what a pattern shows reads back as the value rounded as shown and shows the
// same again; an accepted amount shows within its field and reads back as the same amount.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "rules/Numeri.h"

namespace {

struct Pattern {
    const char* text;
    int decimals;
    bool field;  // written into a numeric field, so read back as the operator's entry
};
// Every pattern the program shows numbers with.
constexpr Pattern kPatterns[] = {
    {"#,##0.00", 2, true}, {"#.00", 2, true},      {"#0.00", 2, true},  {"#0.#0", 2, true},
    {"#", 0, true},        {"#0.000000", 6, true}, {"#,##0", 0, false}, {"#,##0.0", 1, false},
};

// The maximum lengths of the amount fields.
constexpr int kLunghezze[] = {17, 15, 10, 0};

void Verifica(bool ok) {
    if (!ok) std::abort();
}

bool SoloCaratteriItaliani(const std::string& s) {
    return s.find_first_not_of("0123456789.,-") == std::string::npos;
}

// What a pattern shows of v reads back as v rounded as shown, and shows the same again.
void RileggiMostrato(double v) {
    for (const Pattern& p : kPatterns) {
        const std::string shown = rules::Formato(v, p.text);
        if (!std::isfinite(v)) {
            Verifica(shown.empty());
            continue;
        }
        Verifica(SoloCaratteriItaliani(shown));
        const double back = rules::Valore(shown);
        Verifica(back == rules::ArrotondaLontanoDaZero(v, p.decimals));
        Verifica(rules::Formato(back, p.text) == shown);
        if (p.field && v >= 0 && !shown.empty()) {
            const auto entered = rules::LeggiNumeroInserito(shown);
            Verifica(entered.has_value() && *entered == back);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The bytes as a double, whatever it is: NaN, infinities, subnormals, huge values.
    if (size >= sizeof(double)) {
        double v = 0;
        std::memcpy(&v, data, sizeof v);
        RileggiMostrato(v);
    }

    // The text as the program reads its own fields.
    if (const auto read = rules::LeggiNumero(text)) RileggiMostrato(*read);
    for (const Pattern& p : kPatterns) (void)rules::FormatoTesto(text, p.text);

    // The text as typed or pasted by the operator: never negative, never a non-number.
    if (const auto entered = rules::LeggiNumeroInserito(text)) {
        Verifica(std::isfinite(*entered) && *entered >= 0);
        RileggiMostrato(*entered);
    }
    if (const auto rooms = rules::LeggiInteroInserito(text)) Verifica(*rooms >= 0);

    // An accepted amount fits its field as shown and as edited, and reads back the same.
    for (const int length : kLunghezze) {
        const auto amount = rules::LeggiImporto(text, length);
        if (!amount) continue;
        const double cents = rules::ArrotondaLontanoDaZero(*amount, 2);
        for (const char* form : {"#,##0.00", "#.00", "#0.00"}) {
            const std::string shown = rules::Formato(*amount, form);
            Verifica(length == 0 || shown.size() <= static_cast<std::size_t>(length));
            const auto back = rules::LeggiImporto(shown, length);
            Verifica(back.has_value() && *back == cents);
        }
    }
    return 0;
}
