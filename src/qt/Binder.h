#pragma once
// Shows screen models as Qt windows. One generic binder serves every screen: each control is
// wired to the widget of its layout whose object name is the control's name ("name_i" for the
// control name(i)). The model's changes are shown on the widgets; the operator's actions on the
// widgets reach the model through the screen's operator methods, one at a time and in order.
#include <QObject>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

#include "ui/Program.h"

class QKeyEvent;
class QString;
class QWidget;

namespace ui {
class Control;
enum class Property;
}  // namespace ui

namespace gui {

class Binder : public QObject, public ui::ProgramObserver {
public:
    // Becomes the program's observer for as long as it lives.
    explicit Binder(ui::Program& program);
    ~Binder() override;
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    void screenShown(ui::Screen& s, bool modal) override;
    void screenClosed(ui::Screen& s) override;
    void programEnded() override;

    // The window showing the screen, nullptr when the screen is not shown.
    QWidget* window(const ui::Screen& s) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding;
    struct View;
    // An operator action waiting for the model. A message box opened by a leave handling runs
    // a nested event loop that brings more focus events: they wait here until the action that
    // opened the box has ended.
    struct Action {
        int view = 0;
        ui::Control* control = nullptr;
        bool movesFocus = false;  // the operator moved the focus to control
        std::function<void()> run;
        // Reached with the keyboard: once the enter handling has shown the field's text, the
        // whole text is selected, so that typing replaces it.
        bool selectsText = false;
    };

    View* view(int id) const;
    View* viewOf(const ui::Screen& s) const;
    void bind(View& v, ui::Control& c);
    void connectSignals(int viewId, Binding& b);
    void setTabOrder(const View& v);
    void release(View& v);

    void apply(Binding& b, ui::Property p);
    void applyAll(Binding& b);
    void showText(Binding& b);
    void showCaption(Binding& b);
    void showItems(Binding& b);
    void showRow(Binding& b);
    void showLook(Binding& b);
    static void selectWhole(const Binding& b);

    void post(Action a);
    void runNow(Action a);
    void flush();
    void run(Action& a);
    void syncFocus();
    void scheduleSync();

    void focusIn(int viewId, Binding& b, int reason);
    bool keyPress(int viewId, Binding& b, QKeyEvent* e);
    void propose(Binding& b);
    void takeProposal(int viewId, Binding& b, const QString& entry);
    bool completionKey(int viewId, Binding& b, QKeyEvent* e);
    void deliverKey(QWidget* w, int code);
    void closeRequest(int viewId);

    ui::Program& program_;
    std::map<int, std::unique_ptr<View>> views_;
    struct Watched {
        int view = 0;
        Binding* binding = nullptr;  // nullptr for the window itself
    };
    std::unordered_map<const QObject*, Watched> watched_;
    std::deque<Action> pending_;
    int nextView_ = 1;
    bool running_ = false;   // a model action runs
    bool applying_ = false;  // model changes are being shown on the widgets
    bool focusing_ = false;  // Qt's focus is being moved to the model's
    bool passKey_ = false;   // a key the model replaced is being delivered
    bool flushQueued_ = false;
    // A button, check box or option pressed with the mouse or its shortcut: it got Qt's focus,
    // and its click moves the model's focus, so that a leave handling runs only once.
    Watched pressed_;
};

}  // namespace gui
