#include "script/ScriptPorts.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "script/Parser.h"

namespace fs = std::filesystem;

#include "reports/Modello.h"

namespace script {

namespace {

std::vector<ui::Answer> buttonsOf(ui::Buttons b) {
    switch (b) {
        case ui::Buttons::OK:
            return {ui::Answer::OK};
        case ui::Buttons::OKCancel:
            return {ui::Answer::OK, ui::Answer::Cancel};
        case ui::Buttons::YesNo:
            return {ui::Answer::Yes, ui::Answer::No};
    }
    return {};
}

// Runs a filesystem operation; its failure becomes the port's error with the system's reason.
template <typename F>
void systemCall(F&& f) {
    try {
        f();
    } catch (const fs::filesystem_error& e) {
        throw ui::ErroreDiSistema(e.code());
    }
}

ui::FileError injected() {
    return {ui::kErrIO, "Errore di input/output"};
}

bool inside(const fs::path& path, const fs::path& folder) {
    fs::path p = fs::absolute(path).lexically_normal();
    fs::path f = fs::absolute(folder).lexically_normal();
    return std::mismatch(p.begin(), p.end(), f.begin(), f.end()).second == f.end();
}

}  // namespace

std::string answerName(ui::Answer a) {
    switch (a) {
        case ui::Answer::OK:
            return "ok";
        case ui::Answer::Cancel:
            return "cancel";
        case ui::Answer::Yes:
            return "yes";
        case ui::Answer::No:
            return "no";
    }
    return "";
}

ui::Answer ScriptMessages::show(const ui::Message& m) {
    if (++perCommand_ > kMaxPerCommand) throw EndlessMessages{m};
    ui::Answer answer = m.defaultButton;
    if (!queued_.empty()) {
        ui::Answer wanted = queued_.front();
        queued_.pop_front();
        auto buttons = buttonsOf(m.buttons);
        if (std::find(buttons.begin(), buttons.end(), wanted) != buttons.end()) {
            answer = wanted;
        } else if (problem_.empty()) {
            std::string names;
            for (ui::Answer b : buttons) names += (names.empty() ? "" : " ") + answerName(b);
            problem_ = "answer " + answerName(wanted) + " / box " + inQuotes(m.title) + " " +
                       inQuotes(m.text) + " has the buttons " + names;
        }
    }
    shown_.push_back({m, answer});
    return answer;
}

const ScriptMessages::Shown* ScriptMessages::takeUnchecked() {
    const Shown* s = firstUnchecked();
    if (s) ++checked_;
    return s;
}

const ScriptMessages::Shown* ScriptMessages::firstUnchecked() const {
    return checked_ < shown_.size() ? &shown_[checked_] : nullptr;
}

std::string ScriptMessages::takeProblem() {
    return std::exchange(problem_, std::string());
}

void ScriptReports::start(const ui::ReportRequest& r) {
    reports::Componi(reports::CaricaDefinizione(r.file), r, r.printDate);
    started_.push_back(r);
    if (render_) render_(r, started_.size());
}

const ui::ReportRequest* ScriptReports::takeUnchecked() {
    const ui::ReportRequest* r = firstUnchecked();
    if (r) ++checked_;
    return r;
}

const ui::ReportRequest* ScriptReports::firstUnchecked() const {
    return checked_ < started_.size() ? &started_[checked_] : nullptr;
}

ScriptFiles::ScriptFiles(std::string dataDir) : dataDir_(std::move(dataDir)) {
    setMedia(Media::Present);
}

bool ScriptFiles::exists(const std::string& path) {
    return fs::exists(path);
}

void ScriptFiles::copyArchive(const std::string& from, const std::string& to) {
    if (copyFaults_ > 0) {
        --copyFaults_;
        throw injected();
    }
    if (fullFaults_ > 0) {
        --fullFaults_;
        throw ui::DiscoPieno();
    }
    refuseInReadOnlyMedia(to);
    ui::FilePort::copyArchive(from, to);
}

void ScriptFiles::rename(const std::string& from, const std::string& to) {
    if (renameFaults_ > 0) {
        --renameFaults_;
        throw injected();
    }
    refuseInReadOnlyMedia(from);
    refuseInReadOnlyMedia(to);
    systemCall([&] { fs::rename(from, to); });
}

void ScriptFiles::remove(const std::string& path) {
    refuseInReadOnlyMedia(path);
    systemCall([&] {
        if (!fs::remove(path))
            throw fs::filesystem_error("remove", path,
                                       std::make_error_code(std::errc::no_such_file_or_directory));
    });
}

bool ScriptFiles::ready(const std::string& folder) {
    if (media_ == Media::ReadOnly && inside(folder, mediaFolder())) return false;
    std::error_code ec;
    return fs::is_directory(folder, ec);
}

void ScriptFiles::beforeCompact() {
    if (compactFaults_ > 0) {
        --compactFaults_;
        throw injected();
    }
}

void ScriptFiles::setMedia(Media m) {
    media_ = m;
    systemCall([&] {
        if (m == Media::Absent)
            fs::remove_all(mediaFolder());
        else
            fs::create_directories(mediaFolder());
    });
}

void ScriptFiles::failNext(Fault f) {
    switch (f) {
        case Fault::Copy:
            ++copyFaults_;
            break;
        case Fault::Rename:
            ++renameFaults_;
            break;
        case Fault::Compact:
            ++compactFaults_;
            break;
        case Fault::Full:
            ++fullFaults_;
            break;
    }
}

void ScriptFiles::refuseInReadOnlyMedia(const std::string& path) {
    if (media_ == Media::ReadOnly && inside(path, mediaFolder()))
        throw ui::ErroreDiSistema(std::make_error_code(std::errc::read_only_file_system));
}

}  // namespace script
