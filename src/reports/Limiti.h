#pragma once
// What a report definition may ask of the program. The definitions are edited by hand with a
// text editor; one beyond these limits is refused, with its reason, before the template engine
// or a text document sees it (both recurse, and a text document's time grows faster than the
// size of what it lays out). Every limit is far above what the shipped definitions use; they
// are listed for the editors in reports/README.md.
#include <cstddef>

namespace reports::limiti {

// The file and its header.
inline constexpr std::size_t kFile = 256 * 1024;  // bytes of a definition file
// Bytes of the "stile" section, which every text document of a report parses again.
inline constexpr std::size_t kStile = 16 * 1024;
inline constexpr std::size_t kDistribuzioni = 30;
inline constexpr std::size_t kVociDistribuzione = 50;  // flag columns of one distribution
inline constexpr std::size_t kTotali = 50;             // columns summed
inline constexpr double kMargine = 100;                // millimetres, each margin
inline constexpr double kSpazioPagina = 60;  // millimetres the margins leave, across and down

// Mustache templates: sections one inside another, and the work of filling them. The filled
// body may grow with the rows: a base plus an allowance per row, never beyond a ceiling.
inline constexpr std::size_t kSezioniAnnidate = 16;
inline constexpr std::size_t kIntestazione = 64 * 1024;  // bytes of the filled heading
inline constexpr std::size_t kCorpoBase = 1024 * 1024;   // bytes of the filled body
inline constexpr std::size_t kCorpoPerRiga = 32 * 1024;
inline constexpr std::size_t kCorpoMassimo = 128 * 1024 * 1024;
inline constexpr std::size_t kPassiBase = 100'000;  // names looked up and sections entered
inline constexpr std::size_t kPassiPerRiga = 2'000;
inline constexpr std::size_t kPassiMassimi = 16'000'000;

// HTML of the filled templates. A unit of the body (a top-level element or a table row, see
// Dividi) is laid out whole, and the heading is one text document: each may hold this much.
inline constexpr std::size_t kElementiAnnidati = 64;
inline constexpr std::size_t kTabelleAnnidate = 6;  // a table's layout time doubles per level
inline constexpr std::size_t kByteTag = 64 * 1024;
inline constexpr std::size_t kByteUnita = 256 * 1024;
inline constexpr std::size_t kTagUnita = 4'000;
inline constexpr std::size_t kImmaginiUnita = 100;

// Charts: drawn in the body only, a few, each with at most so many slices or bars (the rest of
// the entries drawn as one, "Altre voci"; the entries' table lists them all).
inline constexpr std::size_t kGrafici = 50;
inline constexpr std::size_t kVociGrafico = 30;

// Numbers in HTML attributes and style sheets: past these a text document's layout overflows.
inline constexpr double kPixel = 1000;     // lengths, converted to pixels (1000 px = 26.5 cm)
inline constexpr double kEm = 20;          // lengths relative to the font (em, ex, rem, ch)
inline constexpr double kPercento = 1000;  // percentages and numbers without a unit
inline constexpr double kCampate = 100;    // colspan, rowspan

// Images: files of the reports folder.
inline constexpr std::size_t kByteImmagine = 4 * 1024 * 1024;
inline constexpr int kLatoImmagine = 4000;               // pixels per side
inline constexpr long long kPixelImmagini = 32'000'000;  // all images of one report
inline constexpr std::size_t kNomeImmagine = 200;        // characters of its name

}  // namespace reports::limiti
