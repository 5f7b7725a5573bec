#pragma once
// One scenario run: a program with the runner's ports over a data folder, driven command by
// command like an operator at the keyboard and mouse.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/Parser.h"
#include "script/ScriptPorts.h"
#include "startup/BloccoArchivio.h"
#include "startup/ModuloVD2005.h"
#include "ui/Control.h"
#include "ui/Program.h"

namespace script {

struct Outcome {
    int line = 0;
    std::string text;  // "<what was expected> / <what was found>"
};

class ScenarioRun {
public:
    // dataDir must hold the archive; the screens are registered as in the program.
    ScenarioRun(const std::string& dataDir, const std::string& programDir);
    ScenarioRun(const ScenarioRun&) = delete;
    ScenarioRun& operator=(const ScenarioRun&) = delete;

    // Runs the commands in order up to the first failure, which is returned.
    std::optional<Outcome> run(const std::vector<Command>& commands);

    const ScriptPorts& ports() const { return ports_; }
    ScriptPorts& ports() { return ports_; }

private:
    using Args = std::vector<std::string>;
    using Handler = void (ScenarioRun::*)(const Args&);
    static const std::map<std::string, Handler>& handlers();

    // A program with every screen registered, replacing the one before.
    void newProgram();
    void execute(const Command& c);

    // Environment.
    void today(const Args& a);
    void configure(const Args& a);
    void sql(const Args& a);
    void start(const Args& a);
    void login(const Args& a);
    void fault(const Args& a);
    void media(const Args& a);
    void otherProgram(const Args& a);
    void putFile(const Args& a);
    // Operator actions.
    void focus(const Args& a);
    void type(const Args& a);
    void clear(const Args& a);
    void set(const Args& a);
    void key(const Args& a);
    void leave(const Args& a);
    void tick(const Args& a);
    void untick(const Args& a);
    void choose(const Args& a);
    void select(const Args& a);
    void click(const Args& a);
    void page(const Args& a);
    void row(const Args& a);
    void dblclick(const Args& a);
    void close(const Args& a);
    // Message boxes.
    void answer(const Args& a);
    void expectMsg(const Args& a);
    void expectMsgStart(const Args& a);
    void expectNoMsg(const Args& a);
    // Assertions.
    void expect(const Args& a);
    void expectShown(const Args& a);
    void expectContains(const Args& a);
    void expectNotContains(const Args& a);
    void expectEnabled(const Args& a);
    void expectVisible(const Args& a);
    void expectFocus(const Args& a);
    void expectScreen(const Args& a);
    void expectTitle(const Args& a);
    void expectSql(const Args& a);
    void expectGrid(const Args& a);
    void expectCell(const Args& a);
    void expectReport(const Args& a);
    void expectNoReport(const Args& a);
    void expectFile(const Args& a);

    ui::Screen& activeScreen() const;
    ui::Control& control(const std::string& id) const;
    // The control, holding the focus; fails when the operator cannot reach it.
    ui::Control& reach(const std::string& id);
    void requireUsable(const ui::Control& c) const;
    [[noreturn]] void unreachable(const ui::Control& c) const;
    // One key press in c and the editing it makes. False when it ended the program or changed
    // the active screen, so that typing stops.
    bool press(ui::Control& c, int code);
    // The model of grid id, nullptr when it has none; fails when id is not a grid.
    const ui::GridModel* grid(const std::string& id) const;
    void tickTo(const std::string& id, bool on);
    void expectMessage(const Args& a, bool wholeText);

    startup::Paths paths_;
    ScriptPorts ports_;
    std::unique_ptr<ui::Program> program_;
    std::unique_ptr<startup::ModuloVD2005> modulo_;
    // Another program on the same data folder, holding its lock.
    std::unique_ptr<startup::BloccoArchivio> otherProgram_;
    bool started_ = false;
    const Command* current_ = nullptr;
};

}  // namespace script
