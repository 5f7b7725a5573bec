#pragma once
// Synthetic archives for the benchmarks: a configured workstation and n applications with
// their household rows, surnames spread over the alphabet.
#include <string>

namespace bench {

// Creates the archive at path (which must not exist) with n applications of municipality
// A00101, workstation AB.
void GeneraArchivio(const std::string& path, int n);

}  // namespace bench
