#pragma once
// Filling a Mustache template within limits. The template engine recurses once per level of
// sections, and sections repeated one inside another multiply its work; so a template is read
// first by the program, as the engine reads it, and filled with a count of its work.
#include <kainjow/mustache.hpp>

#include <cstddef>
#include <map>
#include <string>

namespace reports {

// For each section name, the length of the longest text such a section encloses. Throws
// DefinizioneErrata, with the line of the definition when primaRiga (the line where the template
// starts) is given: a tag or section not closed, a section closed under another name, sections
// nested deeper than allowed, a change of delimiters ({{=...=}}) or a partial ({{>...}}).
std::map<std::string, std::size_t> SezioniModello(const std::string& modello, int primaRiga = 0);

// The template filled with dati. Throws DefinizioneErrata when the template is refused, or when
// filling it would produce more than maxByte bytes or take more than maxPassi steps (names looked
// up and sections entered).
std::string Riempi(const std::string& modello, const kainjow::mustache::data& dati,
                   std::size_t maxByte, std::size_t maxPassi);

}  // namespace reports
