#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Program.h"
#include "ui/Screen.h"

namespace {

// A screen whose handlers write what happened into a log.
class Prova : public ui::Screen {
public:
    Prova(ui::Program& p, const std::string& name, std::vector<std::string>& log)
        : ui::Screen(p, name, name), log_(log) {
        for (const char* n : {"txtA", "txtB", "chkC"}) {
            ui::Control& c = add(n[0] == 't' ? ui::Kind::TextBox : ui::Kind::CheckBox, n);
            c.onEnter = [this, n] { log_.push_back(std::string("enter ") + n); };
            c.onLeave = [this, n, &c] {
                log_.push_back(std::string("leave ") + n);
                if (c.text() == "bad") setFocus(c);
            };
            c.onChange = [this, n] { log_.push_back(std::string("change ") + n); };
        }
        for (int i = 0; i < 3; ++i) {
            ui::Control& op = add(ui::Kind::OptionButton, "opX", i);
            op.onClick = [this, i] { log_.push_back("click opX" + std::to_string(i)); };
        }
        auto& cmd = add(ui::Kind::Button, "cmdGo");
        cmd.onClick = [this] { log_.push_back("click cmdGo"); };
    }
    void onActivate() override { log_.push_back("activate " + name()); }
    void onUnload() override { log_.push_back("unload " + name()); }

private:
    std::vector<std::string>& log_;
};

struct Fixture : ::testing::Test {
    std::vector<std::string> log;
    ui::Program program{ui::Ports{}};
    void SetUp() override {
        for (const char* n : {"uno", "due"}) {
            program.registerScreen(
                n, [this, n](ui::Program& p) { return std::make_unique<Prova>(p, n, log); });
        }
    }
};

TEST_F(Fixture, ALeaveHandlingThatKeepsTheFocusStopsTheOperator) {
    ui::Screen& s = program.show("uno");
    EXPECT_EQ(s.focused(), &s.control("txtA"));  // the first control takes the focus
    log.clear();
    s.control("txtA").setText("bad");
    EXPECT_FALSE(s.operatorFocus(s.control("txtB")));
    EXPECT_EQ(s.focused(), &s.control("txtA"));
    EXPECT_EQ(log, (std::vector<std::string>{"change txtA", "leave txtA"}));

    // A button's click runs whatever the leave handling did.
    log.clear();
    s.operatorClick(s.control("cmdGo"));
    EXPECT_EQ(log, (std::vector<std::string>{"leave txtA", "click cmdGo"}));

    s.control("txtA").setText("good");
    log.clear();
    EXPECT_TRUE(s.operatorFocus(s.control("txtB")));
    EXPECT_EQ(log, (std::vector<std::string>{"leave txtA", "enter txtB"}));
    s.operatorLeave();
    EXPECT_EQ(s.focused(), nullptr);
}

TEST_F(Fixture, ChangesFireOnlyWhenTheValueChanges) {
    ui::Screen& s = program.show("uno");
    log.clear();
    auto& chk = s.control("chkC");
    chk.setValue(1);
    chk.setValue(1);
    chk.setValue(0);
    s.control("txtB").setText("");
    EXPECT_EQ(log, (std::vector<std::string>{"change chkC", "change chkC"}));

    log.clear();
    s.control("opX", 0).setValue(1);
    s.control("opX", 2).setValue(1);
    EXPECT_EQ(s.control("opX", 0).value(), 0);
    EXPECT_EQ(s.control("opX", 2).value(), 1);
    s.control("opX", 2).setValue(0);  // the program may clear every option
    EXPECT_EQ(log, (std::vector<std::string>{"click opX0", "click opX2"}));
}

TEST_F(Fixture, ClosingAModalScreenActivatesTheOneBelowAndTheLastOneEndsTheProgram) {
    ui::Screen& uno = program.show("uno");
    program.show("due", true);
    log.clear();
    program.close(*program.active());
    EXPECT_EQ(log, (std::vector<std::string>{"unload due", "activate uno"}));
    EXPECT_FALSE(program.ended());
    program.close(uno);
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(program.active(), nullptr);
    program.collectGarbage();
}

TEST_F(Fixture, EndStopsAtOnceWithoutUnloading) {
    program.show("uno");
    program.show("due", true);
    log.clear();
    program.end();
    EXPECT_TRUE(program.ended());
    EXPECT_TRUE(log.empty());
}

}  // namespace
