#pragma once
// The program's outside world, injectable: message boxes, clock, files and the report engine.
// The desktop program plugs in Qt and the system; the scenario runner plugs in scripted
// answers, a fixed clock and recorders.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "store/DateTime.h"

namespace ui {

enum class Buttons { OK, OKCancel, YesNo };
enum class Icon { None, Information, Exclamation };
enum class Answer { OK, Cancel, Yes, No };

struct Message {
    std::string title;
    std::string text;  // line breaks as the program writes them (CR LF, CR or LF)
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::OK;
};

class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual Answer show(const Message& m) = 0;
};

class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual store::DateTime now() = 0;
};

// Numbers of failed file operations, as the operator reads them in messages.
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrIO = 57;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrPermission = 70;
inline constexpr int kErrDiskNotReady = 71;
inline constexpr int kErrPathAccess = 75;

// A failed file operation: its number and the reason in Italian.
class FileError : public std::runtime_error {
public:
    FileError(int number, const std::string& reason)
        : std::runtime_error(reason), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// The operator's reading of a system error ("Spazio su disco insufficiente" for a full disk).
FileError ErroreDiSistema(const std::error_code& ec);
FileError DiscoPieno();

class FilePort {
public:
    virtual ~FilePort() = default;
    virtual bool exists(const std::string& path) = 0;
    // Each throws FileError, or store::DbError for the engine's own failures.
    // Writes a copy of the archive `from` to the new file `to`, read through the engine: the
    // copy holds what was committed when it began, even while another connection writes.
    virtual void copyArchive(const std::string& from, const std::string& to);
    virtual void rename(const std::string& from, const std::string& to) = 0;  // replaces
    virtual void remove(const std::string& path) = 0;
    // Writes the file's data through to the disk.
    virtual void flush(const std::string& path);
    // Writes the folder's entries (a rename into it) through to the disk.
    virtual void flushFolder(const std::string& folder);
    // Whether the folder exists and takes new files.
    virtual bool ready(const std::string& folder) = 0;
    // Whether the folder's disk has room for that many more bytes.
    virtual bool hasRoom(const std::string& folder, std::uintmax_t bytes);
    // The removable-media destination folder (it may be missing or not writable).
    virtual std::string mediaFolder() = 0;
    // The removable-media folder to write to now. The desktop lets the operator choose one
    // (and remembers it) when none is remembered or the remembered one is missing.
    virtual std::string chooseMediaFolder() { return mediaFolder(); }
    // Called before the archive is compacted; throws to make the compaction fail.
    virtual void beforeCompact() {}
};

// One started report: the settings of the report object at the moment of the start.
struct ReportRequest {
    std::string file;  // full path of the definition file
    std::string title;
    std::vector<std::string> formulas;  // "Name=\"value\"" texts, by formula number
    std::string sql;                    // row source text, empty when a saved query is used
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;  // rows as the engine returned them
    std::string printDate;                       // dd/mm/yyyy, the program's clock at the start
    // The household members of the rows, when the definition prints them: one row per member,
    // with its register number, in the order of the register numbers and positions.
    std::vector<std::string> memberColumns;
    std::vector<std::vector<std::string>> members;
};

class ReportPort {
public:
    virtual ~ReportPort() = default;
    virtual void start(const ReportRequest& r) = 0;
};

// Long work: the busy pointer, and a progress window when it lasts more than a second.
class BusyPort {
public:
    virtual ~BusyPort() = default;
    // Runs the work to its end and passes on what it throws. The work must not touch the
    // screens: the desktop runs it beside the user interface, which it keeps painted.
    virtual void run(const std::string& /*what*/, const std::function<void()>& work) { work(); }
};

struct Ports {
    MessagePort* messages = nullptr;
    ClockPort* clock = nullptr;
    FilePort* files = nullptr;
    ReportPort* reports = nullptr;
    BusyPort* busy = nullptr;
};

}  // namespace ui
