#include "script/Scenario.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "app/Activities.h"
#include "startup/Configurazione.h"
#include "store/Database.h"
#include "store/DbError.h"
#include "store/Text.h"
#include "ui/Screen.h"
#include "ui/Tasti.h"

namespace script {

namespace {

// A command that did not get what it expected.
struct Failure {
    std::string expected;
    std::string found;
};

[[noreturn]] void fail(std::string expected, std::string found) {
    throw Failure{std::move(expected), std::move(found)};
}

// A word as it would be written in a scenario: quoted only when it has to be.
std::string written(const std::string& word) {
    return word.empty() || word.find_first_of(" \t\"\\\r\n") != std::string::npos ? inQuotes(word)
                                                                                  : word;
}

std::string written(const Command& c) {
    std::string s = c.name;
    for (const auto& a : c.args) s += " " + written(a);
    return s;
}

// Unicode values of a UTF-8 text; a byte that does not start a valid sequence stands for itself.
std::vector<int> codePoints(const std::string& s) {
    std::vector<int> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto ch = store::utf8Decode(s, i);
        out.push_back(ch ? static_cast<int>(ch->code) : static_cast<unsigned char>(s[i]));
        i += ch ? ch->length : 1;
    }
    return out;
}

std::string withoutLastCharacter(const std::string& s) {
    return s.empty() ? s : store::utf8Left(s, store::utf8Length(s) - 1);
}

// dd/mm/yyyy with an existing calendar day.
std::optional<store::Date> parseDate(const std::string& text) {
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    const store::Date d{std::stoi(text.substr(6)), std::stoi(text.substr(3, 2)),
                        std::stoi(text.substr(0, 2))};
    if (!d.valid()) return std::nullopt;
    return d;
}

std::string yesNo(bool b) {
    return b ? "yes" : "no";
}

std::string message(const ui::Message& m) {
    return inQuotes(m.title) + " " + inQuotes(m.text);
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The value `expect` compares, by kind of control.
std::string valueOf(const ui::Control& c) {
    switch (c.kind()) {
        case ui::Kind::TextBox:
        case ui::Kind::DateBox:
            return c.text();
        case ui::Kind::CheckBox:
        case ui::Kind::OptionButton:
            return std::to_string(c.value());
        case ui::Kind::ComboBox:
            return c.boundValue();
        case ui::Kind::Grid:
            return std::to_string(c.currentRow());
        case ui::Kind::TabStrip:
            return std::to_string(c.currentPage());
        case ui::Kind::Label:
        case ui::Kind::Button:
        case ui::Kind::MenuItem:
        case ui::Kind::Frame:
            return c.caption();
    }
    return "";
}

}  // namespace

ScenarioRun::ScenarioRun(const std::string& dataDir, const std::string& programDir)
    : paths_{dataDir, programDir}, ports_(dataDir) {
    newProgram();
}

void ScenarioRun::newProgram() {
    modulo_.reset();
    program_ = std::make_unique<ui::Program>(ports_.ports());
    modulo_ = std::make_unique<startup::ModuloVD2005>(*program_, paths_);
    app::RegistraAttivita(*modulo_);
}

std::optional<Outcome> ScenarioRun::run(const std::vector<Command>& commands) {
    for (const Command& c : commands) {
        current_ = &c;
        ports_.messages.startCommand();
        std::optional<Outcome> outcome;
        try {
            execute(c);
        } catch (const Failure& f) {
            outcome = Outcome{c.line, f.expected + " / " + f.found};
        } catch (const EndlessMessages& e) {
            outcome = Outcome{c.line, "at most " + std::to_string(ScriptMessages::kMaxPerCommand) +
                                          " message boxes in one command / the program kept "
                                          "showing " +
                                          message(e.last)};
        } catch (const store::DbError& e) {
            // The engine's own words help whoever writes the scenario.
            const std::string detail = e.detail().empty() ? "" : " (" + e.detail() + ")";
            outcome = Outcome{c.line, written(c) + " completes / " + e.description() + detail};
        } catch (const std::exception& e) {
            outcome = Outcome{c.line, written(c) + " completes / " + e.what()};
        }
        program_->collectGarbage();
        // A program that has ended lets its data folder go, as its process would.
        if (program_->ended()) modulo_->Rilascia();
        // A wrong answer is the first thing that went wrong in that command.
        std::string problem = ports_.messages.takeProblem();
        if (!problem.empty()) return Outcome{c.line, problem};
        if (outcome) return outcome;
    }
    return std::nullopt;
}

// Besides the commands of the language's contract, the runner knows:
//   fault full                          the next archive copy the program writes (a backup, the
//                                       compacted copy, the extraction) finds the disk full
//   other-program running|ended|killed  another program on the same data folder holds it, ends,
//                                       or dies leaving its lock file behind
//   put-file PATH                       a file left in the data folder (or media/...) by
//                                       something else, e.g. an interrupted run
const std::map<std::string, ScenarioRun::Handler>& ScenarioRun::handlers() {
    static const std::map<std::string, Handler> table = {
        {"today", &ScenarioRun::today},
        {"configure", &ScenarioRun::configure},
        {"sql", &ScenarioRun::sql},
        {"start", &ScenarioRun::start},
        {"login", &ScenarioRun::login},
        {"fault", &ScenarioRun::fault},
        {"media", &ScenarioRun::media},
        {"other-program", &ScenarioRun::otherProgram},
        {"put-file", &ScenarioRun::putFile},
        {"focus", &ScenarioRun::focus},
        {"type", &ScenarioRun::type},
        {"clear", &ScenarioRun::clear},
        {"set", &ScenarioRun::set},
        {"key", &ScenarioRun::key},
        {"leave", &ScenarioRun::leave},
        {"tick", &ScenarioRun::tick},
        {"untick", &ScenarioRun::untick},
        {"choose", &ScenarioRun::choose},
        {"select", &ScenarioRun::select},
        {"click", &ScenarioRun::click},
        {"page", &ScenarioRun::page},
        {"row", &ScenarioRun::row},
        {"dblclick", &ScenarioRun::dblclick},
        {"close", &ScenarioRun::close},
        {"answer", &ScenarioRun::answer},
        {"expect-msg", &ScenarioRun::expectMsg},
        {"expect-msg-start", &ScenarioRun::expectMsgStart},
        {"expect-no-msg", &ScenarioRun::expectNoMsg},
        {"expect", &ScenarioRun::expect},
        {"expect-shown", &ScenarioRun::expectShown},
        {"expect-contains", &ScenarioRun::expectContains},
        {"expect-not-contains", &ScenarioRun::expectNotContains},
        {"expect-enabled", &ScenarioRun::expectEnabled},
        {"expect-visible", &ScenarioRun::expectVisible},
        {"expect-focus", &ScenarioRun::expectFocus},
        {"expect-screen", &ScenarioRun::expectScreen},
        {"expect-title", &ScenarioRun::expectTitle},
        {"expect-sql", &ScenarioRun::expectSql},
        {"expect-grid", &ScenarioRun::expectGrid},
        {"expect-cell", &ScenarioRun::expectCell},
        {"expect-report", &ScenarioRun::expectReport},
        {"expect-no-report", &ScenarioRun::expectNoReport},
        {"expect-file", &ScenarioRun::expectFile},
    };
    return table;
}

void ScenarioRun::execute(const Command& c) {
    (this->*handlers().at(c.name))(c.args);
}

// --- Lookups ---

ui::Screen& ScenarioRun::activeScreen() const {
    ui::Screen* s = program_->ended() ? nullptr : program_->active();
    if (s == nullptr)
        fail(written(*current_) + " on a shown screen",
             program_->ended() ? "the program has ended" : "no screen is shown");
    return *s;
}

ui::Control& ScenarioRun::control(const std::string& id) const {
    ui::Screen& s = activeScreen();
    ui::Control* c = s.findById(id);
    if (c == nullptr) fail("a control " + id + " on " + s.name(), "no such control");
    return *c;
}

void ScenarioRun::requireUsable(const ui::Control& c) const {
    if (!c.enabled()) fail(written(*current_), c.id() + " is disabled");
    if (!c.shown()) fail(written(*current_), c.id() + " is hidden");
}

void ScenarioRun::unreachable(const ui::Control& c) const {
    requireUsable(c);
    const ui::Screen& s = c.screen();
    std::string found;
    if (program_->ended())
        found = "the program has ended";
    else if (program_->active() != &s)
        found = "the active screen is now " + activeScreen().name();
    else if (c.locked())
        found = c.id() + " is locked";
    else
        found = "the focus stayed on " + (s.focused() ? s.focused()->id() : std::string("none"));
    fail("the focus on " + c.id(), found);
}

ui::Control& ScenarioRun::reach(const std::string& id) {
    ui::Control& c = control(id);
    ui::Screen& s = c.screen();
    if (s.focused() != &c && !s.operatorFocus(c)) unreachable(c);
    return c;
}

const ui::GridModel* ScenarioRun::grid(const std::string& id) const {
    ui::Control& c = control(id);
    if (c.kind() != ui::Kind::Grid) fail(written(*current_), id + " is not a grid");
    return c.gridModel();
}

// --- Environment ---

void ScenarioRun::today(const Args& a) {
    auto d = parseDate(a[0]);
    if (!d) fail("today DD/MM/YYYY", inQuotes(a[0]) + " is not a date");
    ports_.clock.setToday(*d);
}

void ScenarioRun::configure(const Args& a) {
    auto emis = parseDate(a[2]);
    auto chius = parseDate(a[3]);
    if (!emis) fail("configure with dates DD/MM/YYYY", inQuotes(a[2]) + " is not a date");
    if (!chius) fail("configure with dates DD/MM/YYYY", inQuotes(a[3]) + " is not a date");
    store::Database db = store::Database::open(paths_.archive());
    startup::ScriviConfigurazione(db, {a[0], a[1], *emis, *chius, a[4], a[5]});
}

void ScenarioRun::sql(const Args& a) {
    store::Database::open(paths_.archive()).execute(a[0]);
}

void ScenarioRun::start(const Args&) {
    // Every start after the first is a new run of the program on the same data folder.
    if (started_) newProgram();
    started_ = true;
    // Refused (another program holds the data folder): the box is shown and nothing else runs.
    if (modulo_->Prepara() == startup::ModuloVD2005::Cartella::Pronto) modulo_->Main();
}

void ScenarioRun::login(const Args& a) {
    if (activeScreen().name() != "frmAccessoVD")
        fail("login on frmAccessoVD", "the active screen is " + activeScreen().name());
    type({"txtUtente", a[0]});
    type({"txtPassword", a[1]});
    click({"cmdOK"});
}

void ScenarioRun::fault(const Args& a) {
    using F = ScriptFiles::Fault;
    ports_.files.failNext(a[0] == "copy"     ? F::Copy
                          : a[0] == "rename" ? F::Rename
                          : a[0] == "full"   ? F::Full
                                             : F::Compact);
}

void ScenarioRun::media(const Args& a) {
    using M = ScriptFiles::Media;
    ports_.files.setMedia(a[0] == "present"  ? M::Present
                          : a[0] == "absent" ? M::Absent
                                             : M::ReadOnly);
}

// running: another program holds the data folder's lock from now on. ended: it ends normally
// and its lock file goes. killed: it dies, or died before the scenario began; the operating
// system's lock goes with it but its lock file stays, naming a process that is no more.
void ScenarioRun::otherProgram(const Args& a) {
    if (a[0] == "running") {
        if (!otherProgram_) otherProgram_ = startup::BloccoArchivio::Prendi(paths_.lockFile());
        if (!otherProgram_)
            fail("other-program running takes the data folder", "the program holds it");
        return;
    }
    otherProgram_.reset();
    if (a[0] == "killed") {
        std::ofstream(paths_.lockFile(), std::ios::binary) << "pid=999999\r\nhost=altro-pc\r\n";
    }
}

// A file left in the data folder (or media/...) by something else, e.g. an interrupted run.
void ScenarioRun::putFile(const Args& a) {
    std::ofstream out(std::filesystem::path(paths_.dataDir) / a[0], std::ios::binary);
    out << "resto di un'operazione interrotta";
    if (!out) fail("put-file " + a[0] + " writes the file", "it cannot be written");
}

// --- Operator actions ---

void ScenarioRun::focus(const Args& a) {
    ui::Control& c = control(a[0]);
    requireUsable(c);
    // A leave handling that keeps the focus is no failure here; acting on c later is.
    c.screen().operatorFocus(c);
}

bool ScenarioRun::press(ui::Control& c, int code) {
    ui::Screen& s = c.screen();
    const ui::Screen* before = program_->active();
    const int got = s.operatorKey(c, code);
    if (program_->ended() || program_->active() != before) return false;
    if (got == ui::kTastoBackspace) {
        if (!c.text().empty()) s.operatorEdited(c, withoutLastCharacter(c.text()));
    } else if (got >= 32 && got != 127) {
        if (c.maxLength <= 0 || store::utf8Length(c.text()) < static_cast<std::size_t>(c.maxLength))
            s.operatorEdited(c, c.text() + store::utf8Encode(static_cast<char32_t>(got)));
    }
    return true;
}

void ScenarioRun::type(const Args& a) {
    ui::Control& c = reach(a[0]);
    for (int code : codePoints(a[1])) {
        if (!press(c, code)) break;
    }
}

void ScenarioRun::clear(const Args& a) {
    ui::Control& c = reach(a[0]);
    c.screen().operatorEdited(c, "");
}

void ScenarioRun::set(const Args& a) {
    ui::Control& c = reach(a[0]);
    c.screen().operatorEdited(
        c, c.maxLength > 0 ? store::utf8Left(a[1], static_cast<std::size_t>(c.maxLength)) : a[1]);
}

void ScenarioRun::key(const Args& a) {
    press(reach(a[0]), std::stoi(a[1]));
}

void ScenarioRun::leave(const Args&) {
    activeScreen().operatorLeave();
}

void ScenarioRun::tickTo(const std::string& id, bool on) {
    ui::Control& c = control(id);
    if (!c.screen().operatorTick(c, on)) unreachable(c);
}

void ScenarioRun::tick(const Args& a) {
    tickTo(a[0], true);
}

void ScenarioRun::untick(const Args& a) {
    tickTo(a[0], false);
}

void ScenarioRun::choose(const Args& a) {
    ui::Control& c = control(a[0]);
    const auto& items = c.items();
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const ui::ListItem& i) { return i.shown == a[1]; });
    if (it == items.end())
        fail("choose " + a[0] + " " + inQuotes(a[1]),
             "no such entry among " + std::to_string(items.size()));
    if (!c.screen().operatorChoose(c, static_cast<int>(it - items.begin()))) unreachable(c);
}

void ScenarioRun::select(const Args& a) {
    ui::Control& c = control(a[0]);
    if (!c.screen().operatorSelect(c)) unreachable(c);
}

void ScenarioRun::click(const Args& a) {
    ui::Control& c = control(a[0]);
    requireUsable(c);
    c.screen().operatorClick(c);
}

void ScenarioRun::page(const Args& a) {
    ui::Screen& s = activeScreen();
    for (const auto& c : s.controls()) {
        if (c->kind() != ui::Kind::TabStrip) continue;
        const int n = std::stoi(a[0]);
        if (n < 0 || n >= static_cast<int>(c->pages.size()))
            fail("page " + a[0], "the tab strip has " + std::to_string(c->pages.size()) + " pages");
        s.operatorPage(*c, n);
        return;
    }
    fail("page " + a[0], s.name() + " has no tab strip");
}

void ScenarioRun::row(const Args& a) {
    const ui::GridModel* model = grid(a[0]);
    const int rows = model ? model->rowCount() : 0;
    const int n = std::stoi(a[1]);
    if (n < 0 || n >= rows) fail("row " + a[0] + " " + a[1], std::to_string(rows) + " rows");
    ui::Control& c = control(a[0]);
    if (!c.screen().operatorRow(c, n)) unreachable(c);
}

void ScenarioRun::dblclick(const Args& a) {
    grid(a[0]);
    ui::Control& c = control(a[0]);
    if (!c.screen().operatorDblClick(c)) unreachable(c);
}

void ScenarioRun::close(const Args&) {
    activeScreen().operatorClose();
}

// --- Message boxes ---

void ScenarioRun::answer(const Args& a) {
    ports_.messages.queue(a[0] == "yes"  ? ui::Answer::Yes
                          : a[0] == "no" ? ui::Answer::No
                          : a[0] == "ok" ? ui::Answer::OK
                                         : ui::Answer::Cancel);
}

void ScenarioRun::expectMessage(const Args& a, bool wholeText) {
    const std::string expected = written(*current_);
    const ScriptMessages::Shown* s = ports_.messages.takeUnchecked();
    if (s == nullptr) fail(expected, "no message box");
    const ui::Message& m = s->message;
    const bool textMatches = wholeText ? m.text == a[1] : m.text.starts_with(a[1]);
    if (m.title != a[0] || !textMatches) fail(expected, message(m));
}

void ScenarioRun::expectMsg(const Args& a) {
    expectMessage(a, true);
}

void ScenarioRun::expectMsgStart(const Args& a) {
    expectMessage(a, false);
}

void ScenarioRun::expectNoMsg(const Args&) {
    if (const auto* s = ports_.messages.firstUnchecked())
        fail("expect-no-msg", "message box " + message(s->message));
}

// --- Assertions ---

void ScenarioRun::expect(const Args& a) {
    const std::string v = valueOf(control(a[0]));
    if (v != a[1]) fail("expect " + a[0] + " " + inQuotes(a[1]), inQuotes(v));
}

void ScenarioRun::expectShown(const Args& a) {
    const ui::Control& c = control(a[0]);
    const bool hasText = c.kind() == ui::Kind::ComboBox || c.kind() == ui::Kind::TextBox ||
                         c.kind() == ui::Kind::DateBox;
    const std::string v = hasText ? c.text() : c.caption();
    if (v != a[1]) fail("expect-shown " + a[0] + " " + inQuotes(a[1]), inQuotes(v));
}

void ScenarioRun::expectContains(const Args& a) {
    const std::string v = valueOf(control(a[0]));
    if (v.find(a[1]) == std::string::npos) fail(written(*current_), inQuotes(v));
}

void ScenarioRun::expectNotContains(const Args& a) {
    const std::string v = valueOf(control(a[0]));
    if (v.find(a[1]) != std::string::npos) fail(written(*current_), inQuotes(v));
}

void ScenarioRun::expectEnabled(const Args& a) {
    const std::string v = yesNo(control(a[0]).enabled());
    if (v != a[1]) fail(written(*current_), v);
}

void ScenarioRun::expectVisible(const Args& a) {
    const std::string v = yesNo(control(a[0]).shown());
    if (v != a[1]) fail(written(*current_), v);
}

void ScenarioRun::expectFocus(const Args& a) {
    const ui::Screen* s = program_->ended() ? nullptr : program_->active();
    const ui::Control* f = s ? s->focused() : nullptr;
    const std::string v = f ? f->id() : "none";
    if (v != a[0]) fail(written(*current_), v);
}

void ScenarioRun::expectScreen(const Args& a) {
    const ui::Screen* s = program_->ended() ? nullptr : program_->active();
    const std::string v = s ? s->name() : "none";
    if (v != a[0]) fail(written(*current_), v);
}

void ScenarioRun::expectTitle(const Args& a) {
    const std::string v = activeScreen().title();
    if (v != a[0]) fail("expect-title " + inQuotes(a[0]), inQuotes(v));
}

void ScenarioRun::expectSql(const Args& a) {
    const store::QueryResult result = store::Database::open(paths_.archive()).query(a[0]);
    std::string v;
    for (std::size_t r = 0; r < result.rows.size(); ++r) {
        if (r > 0) v += "\n";
        for (std::size_t k = 0; k < result.rows[r].size(); ++k) {
            const store::Value& value = result.rows[r][k];
            v += (k > 0 ? "|" : "") + (value.isNull() ? std::string("NULL") : value.toText());
        }
    }
    if (v != a[1]) fail("expect-sql " + inQuotes(a[0]) + " " + inQuotes(a[1]), inQuotes(v));
}

void ScenarioRun::expectGrid(const Args& a) {
    const ui::GridModel* model = grid(a[0]);
    const std::string v = std::to_string(model ? model->rowCount() : 0);
    if (v != a[1]) fail(written(*current_), v + " rows");
}

void ScenarioRun::expectCell(const Args& a) {
    const ui::GridModel* model = grid(a[0]);
    const int r = std::stoi(a[1]);
    const int k = std::stoi(a[2]);
    const std::string expected =
        "expect-cell " + a[0] + " " + a[1] + " " + a[2] + " " + inQuotes(a[3]);
    const int rows = model ? model->rowCount() : 0;
    const int columns = model ? model->columnCount() : 0;
    if (r < 0 || r >= rows || k < 0 || k >= columns)
        fail(expected, "the grid has " + std::to_string(rows) + " rows and " +
                           std::to_string(columns) + " columns");
    const std::string v = model->cell(r, k);
    if (v != a[3]) fail(expected, inQuotes(v));
}

void ScenarioRun::expectReport(const Args& a) {
    const ui::ReportRequest* r = ports_.reports.takeUnchecked();
    if (r == nullptr) fail("expect-report " + a[0], "no report started");
    if (fileName(r->file) != a[0]) fail("expect-report " + a[0], fileName(r->file));
    for (std::size_t i = 1; i < a.size(); ++i) {
        const auto eq = a[i].find('=');
        const std::string key = a[i].substr(0, eq);
        const std::string wanted = a[i].substr(eq + 1);
        auto formula = [&](std::size_t n) {
            return n < r->formulas.size() ? r->formulas[n] : std::string();
        };
        const std::string v = key == "rows"       ? std::to_string(r->rows.size())
                              : key == "title"    ? r->title
                              : key == "formula0" ? formula(0)
                              : key == "formula1" ? formula(1)
                                                  : r->sql;
        if (v != wanted) fail(a[0] + " " + key + "=" + inQuotes(wanted), inQuotes(v));
    }
}

void ScenarioRun::expectNoReport(const Args&) {
    if (const auto* r = ports_.reports.firstUnchecked())
        fail("expect-no-report", "report " + fileName(r->file));
}

void ScenarioRun::expectFile(const Args& a) {
    const std::string v =
        yesNo(std::filesystem::exists(std::filesystem::path(paths_.dataDir) / a[0]));
    if (v != a[1]) fail(written(*current_), v);
}

}  // namespace script
