#include "script/Runner.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "script/Scenario.h"
#include "store/Database.h"

namespace fs = std::filesystem;

namespace script {

namespace {

enum class Result { Passed, Failed, Unparsable };

// Report definitions are installed beside the program; a program run from the build tree
// finds them in the source tree.
std::string programDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(exe.parent_path() / "VD_Ricev.rpt", ec))
        return exe.parent_path().string();
    return VENDRAL_REPORTS_DIR;
}

// A fresh folder under TMPDIR, removed with everything in it at the end.
class DataFolder {
public:
    DataFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string path =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vendral-scenario-XXXXXX";
        if (mkdtemp(path.data()) == nullptr)
            throw std::runtime_error("cannot make a folder in " + path + ": " +
                                     std::strerror(errno));
        path_ = path;
    }
    ~DataFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string buttonsName(ui::Buttons b) {
    switch (b) {
        case ui::Buttons::OK:
            return "ok";
        case ui::Buttons::OKCancel:
            return "ok-cancel";
        case ui::Buttons::YesNo:
            return "yes-no";
    }
    return "";
}

std::string iconName(ui::Icon i) {
    switch (i) {
        case ui::Icon::None:
            return "none";
        case ui::Icon::Information:
            return "information";
        case ui::Icon::Exclamation:
            return "exclamation";
    }
    return "";
}

std::string describeMessages(const ScriptMessages& messages) {
    std::string s;
    for (const auto& shown : messages.shown()) {
        const ui::Message& m = shown.message;
        s += inQuotes(m.title) + " " + inQuotes(m.text) + " buttons=" + buttonsName(m.buttons) +
             " icon=" + iconName(m.icon) + " answer=" + answerName(shown.answer) + "\n";
    }
    return s;
}

std::string joined(const std::vector<std::string>& cells) {
    std::string s;
    for (std::size_t i = 0; i < cells.size(); ++i) s += (i > 0 ? "|" : "") + cells[i];
    return s;
}

std::string describeReports(const ScriptReports& reports) {
    std::string s;
    for (const auto& r : reports.started()) {
        s += "report " + inQuotes(r.file) + "\ntitle " + inQuotes(r.title) + "\n";
        for (std::size_t i = 0; i < r.formulas.size(); ++i)
            s += "formula" + std::to_string(i) + " " + inQuotes(r.formulas[i]) + "\n";
        s += "sql " + inQuotes(r.sql) + "\ncolumns " + joined(r.columns) + "\n";
        for (const auto& row : r.rows) s += "row " + joined(row) + "\n";
        s += "\n";
    }
    return s;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Renders each started report into <data folder>/stampe; a failure is written beside it, so
// that keeping the output never changes what the scenario sees.
ScriptReports::Renderer keptPdf(const std::string& dataDir, const PdfRenderer& pdf) {
    return [dir = fs::path(dataDir) / "stampe", pdf](const ui::ReportRequest& r, std::size_t n) {
        const std::string numero = (n < 10 ? "0" : "") + std::to_string(n);
        const fs::path base = dir / (numero + "-" + fs::path(r.file).stem().string());
        try {
            fs::create_directories(dir);
            pdf(r, base.string() + ".pdf");
        } catch (const std::exception& e) {
            writeFile(base.string() + ".errore.txt", std::string(e.what()) + "\n");
        }
    };
}

Result runFile(const std::string& file, const std::string& keepDir, std::ostream& out,
               const PdfRenderer& pdf) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        out << "FAIL " << file << ":0: a readable scenario file / " << std::strerror(errno)
            << std::endl;
        return Result::Unparsable;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<Command> commands;
    try {
        commands = parseScenario(text.str());
    } catch (const ParseError& e) {
        out << "FAIL " << file << ":" << e.line() << ": " << e.what() << std::endl;
        return Result::Unparsable;
    }

    std::optional<Outcome> outcome;
    try {
        DataFolder folder;
        const startup::Paths paths{folder.path(), programDir()};
        store::Database::create(paths.archive()).close();
        std::string messages, reports;
        {
            ScenarioRun run(paths.dataDir, paths.programDir);
            if (!keepDir.empty() && pdf)
                run.ports().reports.setRenderer(keptPdf(folder.path(), pdf));
            outcome = run.run(commands);
            messages = describeMessages(run.ports().messages);
            reports = describeReports(run.ports().reports);
        }
        if (!keepDir.empty()) {
            const fs::path kept = fs::path(keepDir) / fs::path(file).stem();
            fs::remove_all(kept);
            fs::create_directories(kept);
            fs::copy(folder.path(), kept, fs::copy_options::recursive);
            writeFile(kept / "messages.txt", messages);
            writeFile(kept / "reports.txt", reports);
        }
    } catch (const std::exception& e) {
        if (!outcome) outcome = Outcome{0, std::string("a working data folder / ") + e.what()};
    }
    if (outcome) {
        out << "FAIL " << file << ":" << outcome->line << ": " << outcome->text << std::endl;
        return Result::Failed;
    }
    out << "PASS " << file << std::endl;
    return Result::Passed;
}

}  // namespace

int runScenarios(const std::vector<std::string>& files, const std::string& keepDir,
                 std::ostream& out, const PdfRenderer& pdf) {
    int passed = 0, failed = 0;
    bool unparsable = false;
    for (const auto& file : files) {
        const Result r = runFile(file, keepDir, out, pdf);
        if (r == Result::Passed) {
            ++passed;
        } else {
            ++failed;
            unparsable = unparsable || r == Result::Unparsable;
        }
    }
    out << passed << " passed, " << failed << " failed" << std::endl;
    return unparsable ? 2 : failed > 0 ? 1 : 0;
}

}  // namespace script
