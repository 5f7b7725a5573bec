#pragma once
// Ports of the unit tests that answer as scripted: message boxes and the clock.
#include <optional>
#include <string>
#include <vector>

#include "store/DateTime.h"
#include "ui/Ports.h"

namespace supporto {

// Records every message box; answers each with `risposta` when set, else with the box's
// default button.
class Messaggi : public ui::MessagePort {
public:
    ui::Answer show(const ui::Message& m) override {
        mostrati.push_back(m);
        return risposta.value_or(m.defaultButton);
    }
    std::vector<std::string> testi() const {
        std::vector<std::string> t;
        for (const ui::Message& m : mostrati) t.push_back(m.text);
        return t;
    }

    std::optional<ui::Answer> risposta;
    std::vector<ui::Message> mostrati;
};

// A clock that always tells the same moment.
class Orologio : public ui::ClockPort {
public:
    explicit Orologio(store::DateTime adesso) : adesso_(adesso) {}
    store::DateTime now() override { return adesso_; }

private:
    store::DateTime adesso_;
};

}  // namespace supporto
