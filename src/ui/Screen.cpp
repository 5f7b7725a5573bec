#include "ui/Screen.h"

#include <stdexcept>

#include "ui/Program.h"
#include "ui/Tasti.h"

namespace ui {

Screen::Screen(Program& program, std::string name, std::string title)
    : program_(program), name_(std::move(name)), title_(std::move(title)) {}

Screen::~Screen() = default;

void Screen::setTitle(const std::string& title) {
    if (title == title_) return;
    title_ = title;
    if (titleObserver) titleObserver();
}

Control& Screen::add(Kind kind, const std::string& name, int index) {
    controls_.push_back(std::make_unique<Control>(*this, kind, name, index));
    return *controls_.back();
}

Control* Screen::find(const std::string& name, int index) const {
    for (const auto& c : controls_) {
        if (c->name() == name && c->index() == index) return c.get();
    }
    return nullptr;
}

Control& Screen::control(const std::string& name, int index) const {
    Control* c = find(name, index);
    if (c == nullptr) throw std::logic_error("control not found: " + name);
    return *c;
}

Control* Screen::findById(const std::string& id) const {
    const auto open = id.find('(');
    if (open == std::string::npos || id.back() != ')') return find(id);
    try {
        return find(id.substr(0, open), std::stoi(id.substr(open + 1, id.size() - open - 2)));
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool Screen::alive() const {
    return !program_.ended() && program_.isShown(*this);
}

void Screen::focusChanged() {
    if (focusObserver) focusObserver(focused_);
}

void Screen::setFocus(Control& c) {
    if (leaving_ != nullptr) {
        focusRequest_ = &c;
        return;
    }
    if (focused_ == &c) return;
    moveFocusTo(&c);
}

bool Screen::moveFocusTo(Control* target) {
    Control* previous = focused_;
    if (previous != nullptr) {
        leaving_ = previous;
        focusRequest_ = nullptr;
        if (previous->onLeave) previous->onLeave();
        leaving_ = nullptr;
        Control* request = focusRequest_;
        focusRequest_ = nullptr;
        if (!alive()) return false;
        if (request != nullptr) {
            // The leave handling decided where the focus goes.
            if (request != previous) {
                focused_ = request;
                focusChanged();
                if (request->onEnter) request->onEnter();
            } else {
                focusChanged();
            }
            return request == target;
        }
    }
    focused_ = target;
    focusChanged();
    if (target != nullptr && target->onEnter) target->onEnter();
    return true;
}

void Screen::focusFirst() {
    if (focused_ != nullptr) return;
    for (const auto& c : controls_) {
        if (c->tabStop && c->focusable()) {
            moveFocusTo(c.get());
            return;
        }
    }
}

bool Screen::operatorFocus(Control& c) {
    if (!c.enabled() || !c.shown()) return false;
    if (focused_ == &c) return true;
    return moveFocusTo(&c) && focused_ == &c;
}

void Screen::operatorLeave() {
    if (focused_ != nullptr) moveFocusTo(nullptr);
}

int Screen::operatorKey(Control& c, int code) {
    if (code == kTastoInvio && defaultButton != nullptr) {
        operatorClick(*defaultButton);
        return 0;
    }
    if (code == kTastoEsc && cancelButton != nullptr) {
        operatorClick(*cancelButton);
        return 0;
    }
    if (c.onKeyPress) c.onKeyPress(code);
    if (c.locked()) return 0;
    return code;
}

bool Screen::operatorEdited(Control& c, const std::string& text) {
    if (c.locked() || !c.enabled()) return false;
    c.setText(text);
    return true;
}

bool Screen::operatorTick(Control& c, bool on) {
    if (!operatorFocus(c) || c.locked()) return false;
    c.setValue(on ? 1 : 0);
    return true;
}

bool Screen::operatorChoose(Control& c, int listIndex) {
    if (!operatorFocus(c) || c.locked()) return false;
    c.chooseIndex(listIndex);
    return true;
}

bool Screen::operatorSelect(Control& c) {
    if (!operatorFocus(c) || c.locked()) return false;
    c.setValue(1);
    return true;
}

void Screen::operatorClick(Control& c) {
    if (!c.enabled() || !c.shown()) return;
    if (c.kind() != Kind::MenuItem) {
        operatorFocus(c);
        if (!alive()) return;
    }
    if (c.onClick) c.onClick();
}

bool Screen::operatorDblClick(Control& c) {
    if (!operatorFocus(c)) return false;
    if (c.onDblClick) c.onDblClick();
    return true;
}

bool Screen::operatorRow(Control& c, int row) {
    if (!operatorFocus(c)) return false;
    c.setCurrentRow(row);
    return c.currentRow() == row;
}

void Screen::operatorPage(Control& tabStrip, int page) {
    tabStrip.setCurrentPage(page);
}

void Screen::operatorClose() {
    onCloseRequest();
}

void Screen::onCloseRequest() {
    program_.close(*this);
}

std::string NumeroConSegno(int n) {
    return (n >= 0 ? " " : "") + std::to_string(n);
}

void Screen::problemiOperazione(const std::string& reason, int number) {
    message("Problemi durante l'operazione\r\n" + reason + " (" + NumeroConSegno(number) + ")");
}

Ports& Screen::ports() const {
    return program_.ports();
}

Answer Screen::message(const std::string& text, Buttons buttons, Icon icon,
                       const std::string& title, Answer defaultButton) {
    return ports().messages->show(Message{title, text, buttons, icon, defaultButton});
}

}  // namespace ui
