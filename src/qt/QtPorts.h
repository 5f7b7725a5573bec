#pragma once
// The desktop program's outside world: Qt message boxes, the system clock, the file system and
// the busy pointer.
#include <string>

#include "ui/Ports.h"

namespace gui {

// Message boxes over the active window, with Italian standard buttons when the Qt translation
// is installed.
class QtMessages : public ui::MessagePort {
public:
    ui::Answer show(const ui::Message& m) override;
};

class SystemClock : public ui::ClockPort {
public:
    store::DateTime now() override;
};

// Files through std::filesystem; paths are UTF-8 texts.
class QtFiles : public ui::FilePort {
public:
    bool exists(const std::string& path) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    bool ready(const std::string& folder) override;
    // The folder remembered for this user under the setting "media/folder", "" when none.
    std::string mediaFolder() override;
    // The remembered folder when it exists; otherwise a folder dialog, whose choice is
    // remembered. Cancelling the dialog leaves the remembered (missing) folder.
    std::string chooseMediaFolder() override;
};

// Long work runs on a worker thread while the user interface stays painted and takes no
// input; after a second a progress window says what is going on.
class QtBusy : public ui::BusyPort {
public:
    void run(const std::string& what, const std::function<void()>& work) override;
};

// A message text with its CR LF, CR or LF breaks as plain line breaks.
std::string lineBreaks(const std::string& text);

}  // namespace gui
