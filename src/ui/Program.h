#pragma once
// The running program: the screens shown, modal and non-modal, and the end of the program
// when no screen is left. Screens are made on first show and unloaded when closed.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Ports.h"

namespace ui {

class Screen;

class ProgramObserver {
public:
    virtual ~ProgramObserver() = default;
    virtual void screenShown(Screen& s, bool modal) = 0;
    virtual void screenClosed(Screen& s) = 0;
    virtual void programEnded() = 0;
};

class Program {
public:
    explicit Program(Ports ports);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Ports& ports() { return ports_; }

    using Factory = std::function<std::unique_ptr<Screen>(Program&)>;
    void registerScreen(const std::string& name, Factory factory);
    bool hasScreen(const std::string& name) const;

    // Activities that are not screens (commands run by the main menu).
    using Activity = std::function<void()>;
    void registerActivity(const std::string& name, Activity activity);
    bool hasActivity(const std::string& name) const;
    void runActivity(const std::string& name);

    // Makes the screen if needed (its load runs once), shows it on top and activates it.
    Screen& show(const std::string& name, bool modal = false);
    // Unloads the screen; the screen below a closed modal one is activated again.
    void close(Screen& s);
    // Ends the program at once: every screen goes, no further step.
    void end();
    bool ended() const { return ended_; }

    Screen* active() const;  // the screen on top, nullptr when none
    Screen* loaded(const std::string& name) const;
    const std::vector<Screen*>& shownScreens() const { return shown_; }
    bool isShown(const Screen& s) const;

    void setObserver(ProgramObserver* observer) { observer_ = observer; }

    // Frees the screens closed during the last operator action.
    void collectGarbage();

private:
    Ports ports_;
    std::map<std::string, Factory> factories_;
    std::map<std::string, Activity> activities_;
    std::map<std::string, std::unique_ptr<Screen>> screens_;
    std::vector<Screen*> shown_;  // bottom to top
    std::vector<std::unique_ptr<Screen>> closed_;
    ProgramObserver* observer_ = nullptr;
    bool ended_ = false;
};

}  // namespace ui
