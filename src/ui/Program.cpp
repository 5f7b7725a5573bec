#include "ui/Program.h"

#include <algorithm>
#include <stdexcept>

#include "ui/Screen.h"

namespace ui {

Program::Program(Ports ports) : ports_(ports) {}

Program::~Program() {
    closed_.clear();
    screens_.clear();
}

void Program::registerScreen(const std::string& name, Factory factory) {
    factories_[name] = std::move(factory);
}

bool Program::hasScreen(const std::string& name) const {
    return factories_.count(name) != 0;
}

void Program::registerActivity(const std::string& name, Activity activity) {
    activities_[name] = std::move(activity);
}

bool Program::hasActivity(const std::string& name) const {
    return activities_.count(name) != 0;
}

void Program::runActivity(const std::string& name) {
    auto it = activities_.find(name);
    if (it != activities_.end()) it->second();
}

Screen& Program::show(const std::string& name, bool modal) {
    auto it = screens_.find(name);
    if (it == screens_.end()) {
        auto factory = factories_.find(name);
        if (factory == factories_.end()) throw std::logic_error("screen not registered: " + name);
        it = screens_.emplace(name, factory->second(*this)).first;
        it->second->onLoad();
    }
    Screen& s = *it->second;
    if (!isShown(s)) {
        shown_.push_back(&s);
        if (observer_ != nullptr) observer_->screenShown(s, modal);
    }
    s.onActivate();
    if (s.alive()) s.focusFirst();
    return s;
}

void Program::close(Screen& s) {
    auto pos = std::find(shown_.begin(), shown_.end(), &s);
    if (pos == shown_.end()) return;
    const bool wasTop = pos + 1 == shown_.end();
    shown_.erase(pos);
    s.onUnload();
    if (observer_ != nullptr) observer_->screenClosed(s);
    auto it = screens_.find(s.name());
    if (it != screens_.end()) {
        closed_.push_back(std::move(it->second));
        screens_.erase(it);
    }
    if (ended_) return;
    if (shown_.empty()) {
        ended_ = true;
        if (observer_ != nullptr) observer_->programEnded();
    } else if (wasTop) {
        shown_.back()->onActivate();
    }
}

void Program::end() {
    if (ended_) return;
    ended_ = true;
    while (!shown_.empty()) {
        Screen* s = shown_.back();
        shown_.pop_back();
        if (observer_ != nullptr) observer_->screenClosed(*s);
    }
    for (auto& [name, screen] : screens_) closed_.push_back(std::move(screen));
    screens_.clear();
    if (observer_ != nullptr) observer_->programEnded();
}

Screen* Program::active() const {
    return shown_.empty() ? nullptr : shown_.back();
}

Screen* Program::loaded(const std::string& name) const {
    auto it = screens_.find(name);
    return it == screens_.end() ? nullptr : it->second.get();
}

bool Program::isShown(const Screen& s) const {
    return std::find(shown_.begin(), shown_.end(), &s) != shown_.end();
}

void Program::collectGarbage() {
    closed_.clear();
}

}  // namespace ui
