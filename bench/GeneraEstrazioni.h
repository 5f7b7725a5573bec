#pragma once
// Synthetic extraction files for the Region's benchmark: every municipality of the shipped list
// with many collection points, full application rows and households of one to four members.
// The band, admissibility and requested contribution are those the rules give.
// Half a percent of the applicants apply again in another municipality, and one household
// member in three hundred also appears in another municipality's household.
#include <string>

namespace bench {

// Writes `file` archives holding `domande` applications in all into cartella (which must
// exist), two at a time. Files already there are kept.
void GeneraEstrazioni(const std::string& cartella, int file, int domande);

}  // namespace bench
