#pragma once
// A screen model: owns its controls by name and implements their handlers. The operator's
// actions arrive here from the toolkit binder or the scenario runner.
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Ports.h"

namespace ui {

class Program;

// " 57", "-1": a number as messages write it, with a leading blank unless negative.
std::string NumeroConSegno(int n);

class Screen {
public:
    Screen(Program& program, std::string name, std::string title);
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Program& program() const { return program_; }
    const std::string& name() const { return name_; }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title);

    // Controls in creation order, which is also the focus order.
    Control& add(Kind kind, const std::string& name, int index = -1);
    Control& control(const std::string& name, int index = -1) const;  // throws if missing
    Control* find(const std::string& name, int index = -1) const;
    Control* findById(const std::string& id) const;  // "name" or "name(i)"
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Enter in a text field clicks the default button, Esc the cancel button.
    Control* defaultButton = nullptr;
    Control* cancelButton = nullptr;

    // Focus.
    Control* focused() const { return focused_; }
    // The program moves the focus. Called from a leave handling, it decides where the focus
    // goes once that handling ends; back into the leaving control, the focus stays there.
    void setFocus(Control& c);

    // Gives the focus to the first control in focus order that takes it, as a window does
    // when it is shown and nothing holds the focus.
    void focusFirst();

    // Operator actions. Each returns false when the operator could not reach the control:
    // a leave handling kept the focus elsewhere, or the control is disabled or hidden.
    bool operatorFocus(Control& c);
    void operatorLeave();
    // One key press in c, which holds the focus: Enter and Esc click the default and cancel
    // buttons; otherwise the key filter runs. Returns the code that gets through, 0 when the
    // key is swallowed (a locked field takes no keys).
    int operatorKey(Control& c, int code);
    // The operator's editing replaced the text of c (typed keys already filtered, or a paste).
    bool operatorEdited(Control& c, const std::string& text);
    bool operatorTick(Control& c, bool on);
    bool operatorChoose(Control& c, int listIndex);
    bool operatorSelect(Control& c);
    // A button gets the focus, then its click runs whatever the leave handling did; a menu
    // entry's click runs with no focus change.
    void operatorClick(Control& c);
    bool operatorDblClick(Control& c);
    bool operatorRow(Control& c, int row);
    void operatorPage(Control& tabStrip, int page);
    void operatorClose();  // through the title bar

    // Whether the screen is still shown and the program still runs.
    bool alive() const;

    // Life cycle, called by the program.
    virtual void onLoad() {}
    virtual void onActivate() {}
    virtual void onUnload() {}
    // Closing through the title bar; by default the screen closes.
    virtual void onCloseRequest();

    Ports& ports() const;
    // "Problemi durante l'operazione" CR LF + the reason + " (" + number + ")".
    void problemiOperazione(const std::string& reason, int number);
    Answer message(const std::string& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
                   const std::string& title = "Attenzione", Answer defaultButton = Answer::OK);

    // For the toolkit binder: the focus moved by the program.
    std::function<void(Control*)> focusObserver;
    std::function<void()> titleObserver;

private:
    bool moveFocusTo(Control* target);
    void focusChanged();

    Program& program_;
    std::string name_;
    std::string title_;
    std::vector<std::unique_ptr<Control>> controls_;
    Control* focused_ = nullptr;
    Control* leaving_ = nullptr;       // control whose leave handling runs
    Control* focusRequest_ = nullptr;  // where that handling put the focus
};

}  // namespace ui
