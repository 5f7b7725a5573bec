#pragma once
// The register number of an application: municipality code (6 characters), "2005", workstation
// code (2 letters) and the progressive in decimal digits without leading zeros.
#include <optional>
#include <string>

namespace store {
class RowSource;
}

namespace application {

// The progressive is a 16-bit signed number.
inline constexpr int kProgressivoMassimo = 32767;

// The next register number of the workstation whose configuration row is current in datConfig:
// the highest progressive stored under its municipality code (whatever the workstation code)
// plus one; the new progressive is written at once into Progressivo_domande. Nothing is
// written and nothing returned when the progressive would pass kProgressivoMassimo.
std::optional<std::string> AssegnaNumeroRepertorio(store::RowSource& datMax,
                                                   store::RowSource& datConfig);

}  // namespace application
