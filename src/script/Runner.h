#pragma once
// The scenario runner: `vendral --scenario FILE... [--keep DIR]`.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ui/Ports.h"

namespace script {

// Runs each file in a fresh data folder holding a fresh archive and prints one line per file,
// "PASS <file>" or "FAIL <file>:<line>: <what was expected> / <what was found>", then
// "N passed, N failed". With keepDir not empty, each file's data folder, its message boxes and
// its started reports are kept in keepDir/<file name without extension>/; pdf, when given,
// renders each started report there too, as stampe/NN-<definition>.pdf.
// Returns 0 when every file passed, 2 when a file could not be read or parsed, 1 otherwise.
using PdfRenderer = std::function<void(const ui::ReportRequest&, const std::string& pdf)>;
int runScenarios(const std::vector<std::string>& files, const std::string& keepDir,
                 std::ostream& out, const PdfRenderer& pdf = {});

}  // namespace script
