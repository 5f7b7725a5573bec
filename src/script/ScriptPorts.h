#pragma once
// The scenario runner's outside world: message boxes answered from a queue, a fixed clock, a
// report engine that only records, and files on disk with injectable faults and a removable-media
// folder that can be missing or refuse writes.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/Ports.h"

namespace script {

// Thrown through the program when it keeps showing boxes within one command (a retry loop
// nobody answers with Cancel). Not a std::exception, so that the program's own error handling
// does not take it for a failure it can report.
struct EndlessMessages {
    ui::Message last;
};

class ScriptMessages : public ui::MessagePort {
public:
    struct Shown {
        ui::Message message;
        ui::Answer answer;
    };
    static constexpr int kMaxPerCommand = 100;

    ui::Answer show(const ui::Message& m) override;

    void queue(ui::Answer a) { queued_.push_back(a); }
    // The oldest box not yet checked, which now counts as checked; nullptr when none is left.
    const Shown* takeUnchecked();
    const Shown* firstUnchecked() const;
    const std::vector<Shown>& shown() const { return shown_; }

    // A queued answer that was not a button of its box, described once; "" when none.
    std::string takeProblem();
    // Each command may show at most kMaxPerCommand boxes.
    void startCommand() { perCommand_ = 0; }

private:
    std::deque<ui::Answer> queued_;
    std::vector<Shown> shown_;
    std::size_t checked_ = 0;
    std::string problem_;
    int perCommand_ = 0;
};

class ScriptClock : public ui::ClockPort {
public:
    store::DateTime now() override { return now_; }
    void setToday(const store::Date& d) { now_ = {d, 10, 0, 0}; }

private:
    store::DateTime now_{{2006, 9, 15}, 10, 0, 0};
};

class ScriptReports : public ui::ReportPort {
public:
    // Called with each started report and its 1-based number in the run.
    using Renderer = std::function<void(const ui::ReportRequest&, std::size_t)>;

    // Reads the definition as the desktop engine does, so that a missing or broken file fails
    // alike, records the report and hands it to the renderer, when one is set.
    void start(const ui::ReportRequest& r) override;
    void setRenderer(Renderer render) { render_ = std::move(render); }
    // The oldest report not yet checked, which now counts as checked; nullptr when none is left.
    const ui::ReportRequest* takeUnchecked();
    const ui::ReportRequest* firstUnchecked() const;
    const std::vector<ui::ReportRequest>& started() const { return started_; }

private:
    std::vector<ui::ReportRequest> started_;
    std::size_t checked_ = 0;
    Renderer render_;
};

class ScriptFiles : public ui::FilePort {
public:
    enum class Media { Present, Absent, ReadOnly };
    enum class Fault { Copy, Rename, Compact, Full };

    // The media folder is <dataDir>/media, present at first.
    explicit ScriptFiles(std::string dataDir);

    bool exists(const std::string& path) override;
    void copyArchive(const std::string& from, const std::string& to) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    // Read-only media take no files, whatever the system says.
    bool ready(const std::string& folder) override;
    std::string mediaFolder() override { return dataDir_ + "/media"; }
    void beforeCompact() override;

    void setMedia(Media m);
    // The next operation of that kind fails once: a copy, rename or compaction with an
    // input/output error, a copy for lack of room on the disk (Full).
    void failNext(Fault f);

private:
    void refuseInReadOnlyMedia(const std::string& path);

    std::string dataDir_;
    Media media_ = Media::Present;
    int copyFaults_ = 0;
    int renameFaults_ = 0;
    int compactFaults_ = 0;
    int fullFaults_ = 0;
};

struct ScriptPorts {
    explicit ScriptPorts(const std::string& dataDir) : files(dataDir) {}
    ScriptPorts(const ScriptPorts&) = delete;
    ScriptPorts& operator=(const ScriptPorts&) = delete;

    ui::Ports ports() { return {&messages, &clock, &files, &reports, &busy}; }

    ScriptMessages messages;
    ScriptClock clock;
    ScriptFiles files;
    ScriptReports reports;
    ui::BusyPort busy;
};

// How a box or an answer reads in the runner's messages: "ok", "yes"...
std::string answerName(ui::Answer a);

}  // namespace script
