#pragma once
// The scenario runner: `vendral --scenario FILE... [--keep DIR]`.
#include <ostream>
#include <string>
#include <vector>

namespace script {

// Runs each file in a fresh data folder holding a fresh archive and prints one line per file,
// "PASS <file>" or "FAIL <file>:<line>: <what was expected> / <what was found>", then
// "N passed, N failed". With keepDir not empty, each file's data folder, its message boxes and
// its started reports are kept in keepDir/<file name without extension>/.
// Returns 0 when every file passed, 2 when a file could not be read or parsed, 1 otherwise.
int runScenarios(const std::vector<std::string>& files, const std::string& keepDir,
                 std::ostream& out);

}  // namespace script
