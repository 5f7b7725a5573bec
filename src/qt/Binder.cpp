#include "qt/Binder.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <exception>
#include <utility>

#include "qt/Layouts.h"
#include "ui/Screen.h"
#include "ui/Tasti.h"

namespace gui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The rows of a grid model, read only for the cells on screen.
class GridAdaptor : public QAbstractTableModel {
public:
    GridAdaptor(const ui::Control& grid, QObject* parent)
        : QAbstractTableModel(parent), grid_(grid) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || grid_.gridModel() == nullptr ? 0 : grid_.gridModel()->rowCount();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() || grid_.gridModel() == nullptr ? 0
                                                                : grid_.gridModel()->columnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const ui::GridModel* m = grid_.gridModel();
        if (m == nullptr || !index.isValid()) return {};
        if (role == Qt::DisplayRole) return qs(m->cell(index.row(), index.column()));
        if (role == Qt::TextAlignmentRole) {
            const Qt::Alignment side =
                m->rightAligned(index.column()) ? Qt::AlignRight : Qt::AlignLeft;
            return static_cast<int>(side | Qt::AlignVCenter);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const ui::GridModel* m = grid_.gridModel();
        if (m == nullptr || orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return qs(m->header(section));
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }

private:
    const ui::Control& grid_;
};

bool fits(ui::Kind kind, QWidget* w) {
    switch (kind) {
        case ui::Kind::TextBox:
            return qobject_cast<QLineEdit*>(w) != nullptr ||
                   qobject_cast<QPlainTextEdit*>(w) != nullptr;
        case ui::Kind::DateBox:
            return qobject_cast<QLineEdit*>(w) != nullptr;
        case ui::Kind::CheckBox:
            return qobject_cast<QCheckBox*>(w) != nullptr;
        case ui::Kind::OptionButton:
            return qobject_cast<QRadioButton*>(w) != nullptr;
        case ui::Kind::ComboBox:
            return qobject_cast<QComboBox*>(w) != nullptr;
        case ui::Kind::Grid:
            return qobject_cast<QTableView*>(w) != nullptr;
        case ui::Kind::Label:
            return qobject_cast<QLabel*>(w) != nullptr;
        case ui::Kind::Button:
            return qobject_cast<QAbstractButton*>(w) != nullptr;
        case ui::Kind::TabStrip:
            return qobject_cast<QTabWidget*>(w) != nullptr;
        case ui::Kind::Frame:
            return qobject_cast<QGroupBox*>(w) != nullptr;
        case ui::Kind::MenuItem:
            break;
    }
    return false;
}

// Kinds whose click moves the model's focus itself.
bool focusedByClick(ui::Kind kind) {
    return kind == ui::Kind::Button || kind == ui::Kind::CheckBox || kind == ui::Kind::OptionButton;
}

bool takesFocus(ui::Kind kind) {
    switch (kind) {
        case ui::Kind::Label:
        case ui::Kind::MenuItem:
        case ui::Kind::TabStrip:
        case ui::Kind::Frame:
            return false;
        default:
            return true;
    }
}

// The character code of a key press as the model sees it, 0 for keys the model never sees
// (Tab, arrows, Delete, shortcuts).
int keyCode(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Backspace:
            return ui::kTastoBackspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ui::kTastoInvio;
        case Qt::Key_Escape:
            return ui::kTastoEsc;
        default:
            break;
    }
    // Ctrl and Alt together are AltGr on Windows, which types characters.
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods != Qt::NoModifier && mods != (Qt::ControlModifier | Qt::AltModifier)) return 0;
    const QList<uint> text = e->text().toUcs4();
    if (text.isEmpty() || text.front() < 32 || text.front() == 127) return 0;
    return static_cast<int>(text.front());
}

// Scrolls the window's form so that the widget taking the focus is in view.
void reveal(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(p)) {
            area->ensureWidgetVisible(w);
            return;
        }
    }
}

}  // namespace

struct Binder::Binding {
    ui::Control* control = nullptr;
    QObject* object = nullptr;    // the widget, or the menu entry's action
    QWidget* widget = nullptr;    // nullptr for a menu entry
    bool layoutReadOnly = false;  // a field the layout shows read-only whatever the model says
    GridAdaptor* grid = nullptr;
    QCompleter* completer = nullptr;  // a list's entries proposed while the operator types

    QLineEdit* lineEdit() const {
        if (auto* e = qobject_cast<QLineEdit*>(object)) return e;
        if (auto* box = qobject_cast<QComboBox*>(object)) return box->lineEdit();
        return nullptr;
    }
    // A field the operator cannot type into.
    bool readOnly() const { return control->locked() || layoutReadOnly; }
};

struct Binder::View {
    int id = 0;
    ui::Screen* screen = nullptr;
    QPointer<QWidget> window;
    std::vector<std::unique_ptr<Binding>> bindings;
    std::unordered_map<const ui::Control*, Binding*> byControl;
    bool opening = true;  // the first field has yet to take the focus

    Binding* find(const ui::Control* c) const {
        auto it = byControl.find(c);
        return it == byControl.end() ? nullptr : it->second;
    }
};

Binder::Binder(ui::Program& program) : program_(program) {
    program_.setObserver(this);
}

Binder::~Binder() {
    program_.setObserver(nullptr);
    for (auto& [id, v] : views_) {
        release(*v);
        delete v->window.data();
    }
}

Binder::View* Binder::view(int id) const {
    auto it = views_.find(id);
    return it == views_.end() ? nullptr : it->second.get();
}

Binder::View* Binder::viewOf(const ui::Screen& s) const {
    for (const auto& [id, v] : views_) {
        if (v->screen == &s) return v.get();
    }
    return nullptr;
}

QWidget* Binder::window(const ui::Screen& s) const {
    const View* v = viewOf(s);
    return v == nullptr ? nullptr : v->window.data();
}

// ---- Showing and closing windows ----

void Binder::screenShown(ui::Screen& s, bool modal) {
    QWidget* w = createLayout(s.name());
    if (w == nullptr) w = createPlainLayout(s);
    auto owned = std::make_unique<View>();
    View& v = *owned;
    v.id = nextView_++;
    v.screen = &s;
    v.window = w;
    views_[v.id] = std::move(owned);

    for (const auto& c : s.controls()) bind(v, *c);
    setTabOrder(v);

    if (!s.title().empty()) w->setWindowTitle(qs(s.title()));
    s.titleObserver = [this, id = v.id] {
        if (View* shown = view(id)) shown->window->setWindowTitle(qs(shown->screen->title()));
    };
    s.focusObserver = [this](ui::Control*) {
        if (!running_) scheduleSync();
    };
    watched_[w] = {v.id, nullptr};
    w->installEventFilter(this);

    // A modal screen stays above the screen below it and blocks the others.
    QWidget* below = nullptr;
    const auto& shown = program_.shownScreens();
    if (modal && shown.size() >= 2) {
        if (const View* under = viewOf(*shown[shown.size() - 2])) below = under->window;
    }
    if (below != nullptr) w->setParent(below, Qt::Dialog);
    if (modal) w->setWindowModality(Qt::ApplicationModal);

    placeWindow(*w, naturalSize(*w), below);
    w->show();
    w->raise();
    w->activateWindow();
}

void Binder::screenClosed(ui::Screen& s) {
    View* v = viewOf(s);
    if (v == nullptr) return;
    release(*v);
    QPointer<QWidget> w = v->window;
    views_.erase(v->id);
    // The window may be inside one of its own event handlers: it goes once they are over.
    if (w) {
        w->hide();
        w->deleteLater();
    }
}

void Binder::programEnded() {
    pending_.clear();
    QCoreApplication::exit(0);
}

void Binder::release(View& v) {
    for (const auto& b : v.bindings) {
        b->control->observer = nullptr;
        watched_.erase(b->object);
        if (b->completer != nullptr) watched_.erase(b->completer->popup());
    }
    v.screen->titleObserver = nullptr;
    v.screen->focusObserver = nullptr;
    watched_.erase(v.window.data());
    if (pressed_.view == v.id) pressed_ = {};
}

void Binder::bind(View& v, ui::Control& c) {
    const QString name = qs(widgetName(c.name(), c.index()));
    QObject* object = nullptr;
    QWidget* widget = nullptr;
    if (c.kind() == ui::Kind::MenuItem) {
        object = v.window->findChild<QAction*>(name);
        if (object == nullptr) {
            if (auto* menu = v.window->findChild<QMenu*>(name)) object = menu->menuAction();
        }
    } else {
        widget = v.window->findChild<QWidget*>(name);
        if (widget != nullptr && !fits(c.kind(), widget)) {
            qWarning("%s: il widget %s non è del tipo del controllo", v.screen->name().c_str(),
                     qPrintable(name));
            widget = nullptr;
        }
        object = widget;
    }
    if (object == nullptr) {
        qWarning("%s: nessun widget per il controllo %s", v.screen->name().c_str(), c.id().c_str());
        return;
    }
    auto owned = std::make_unique<Binding>();
    Binding& b = *owned;
    b.control = &c;
    b.object = object;
    b.widget = widget;
    v.byControl[&c] = &b;
    v.bindings.push_back(std::move(owned));

    // Settings the model fixes when it makes the control.
    if (QLineEdit* e = b.lineEdit()) {
        if (c.maxLength > 0) e->setMaxLength(c.maxLength);
        if (!c.passwordChar.empty()) e->setEchoMode(QLineEdit::Password);
        if (c.rightAligned) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        b.layoutReadOnly = qobject_cast<QLineEdit*>(object) != nullptr && e->isReadOnly();
    }
    if (auto* box = qobject_cast<QComboBox*>(object)) {
        // The typed text stays as typed: the model decides whether it names an entry. Qt's
        // own completer would take a match in any case for a choice when the field is left.
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        // The entries holding the typed text anywhere, in any case, are proposed in a popup;
        // the operator takes one with the arrows and Enter, or with the mouse. A name is
        // found by any of its words ("valdoria", "autonomo"), not only by its first letters.
        b.completer = new QCompleter(box->model(), box);
        b.completer->setCaseSensitivity(Qt::CaseInsensitive);
        b.completer->setFilterMode(Qt::MatchContains);
        b.completer->setCompletionMode(QCompleter::PopupCompletion);
        b.completer->setWidget(box);
        // Installed after the completer's own filter, so it sees the popup's keys first.
        b.completer->popup()->installEventFilter(this);
        watched_[b.completer->popup()] = {v.id, &b};
    }
    if (auto* option = qobject_cast<QRadioButton*>(object)) option->setAutoExclusive(false);
    if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
        tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
        for (int i = 0; i < tabs->count() && i < static_cast<int>(c.pages.size()); ++i) {
            if (!c.pages[i].empty()) tabs->setTabText(i, qs(c.pages[i]));
        }
    }
    if (auto* table = qobject_cast<QTableView*>(object)) {
        b.grid = new GridAdaptor(c, table);
        table->setModel(b.grid);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setTabKeyNavigation(false);
        table->verticalHeader()->hide();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->horizontalHeader()->setStretchLastSection(true);
    }
    if (!c.toolTip.empty()) {
        if (widget != nullptr) {
            widget->setToolTip(qs(c.toolTip));
        } else {
            static_cast<QAction*>(object)->setToolTip(qs(c.toolTip));
        }
    }
    if (widget != nullptr && takesFocus(c.kind())) {
        // Buttons take the focus on a click, as fields do, so that the field left runs its
        // leave handling first.
        if (!c.tabStop) {
            widget->setFocusPolicy(Qt::ClickFocus);
        } else if (focusedByClick(c.kind())) {
            widget->setFocusPolicy(Qt::StrongFocus);
        }
    }

    applyAll(b);
    connectSignals(v.id, b);
    object->installEventFilter(this);
    watched_[object] = {v.id, &b};
    c.observer = [this, &b](ui::Control&, ui::Property p) { apply(b, p); };
}

void Binder::connectSignals(int viewId, Binding& b) {
    ui::Control& c = *b.control;
    // Every action checks that the view still exists before it touches the binding.
    auto action = [this, viewId, &c](bool movesFocus, std::function<void(ui::Screen&)> run) {
        return Action{viewId, &c, movesFocus,
                      [this, viewId, run = std::move(run)] { run(*view(viewId)->screen); }};
    };
    if (QLineEdit* e = b.lineEdit()) {
        connect(e, &QLineEdit::textEdited, this,
                [this, action, viewId, &b, &c](const QString& text) {
                    if (applying_) return;
                    runNow(action(false, [&c, t = text.toStdString()](ui::Screen& s) {
                        if (s.focused() == &c) s.operatorEdited(c, t);
                    }));
                    if (view(viewId) != nullptr) propose(b);
                });
    }
    if (b.completer != nullptr) {
        connect(b.completer, qOverload<const QString&>(&QCompleter::activated), this,
                [this, viewId, &b](const QString& entry) {
                    if (view(viewId) != nullptr) takeProposal(viewId, b, entry);
                });
    }
    switch (c.kind()) {
        case ui::Kind::Button:
        case ui::Kind::CheckBox:
        case ui::Kind::OptionButton: {
            auto* button = static_cast<QAbstractButton*>(b.object);
            connect(button, &QAbstractButton::clicked, this, [this, action, &c](bool checked) {
                if (applying_) return;
                if (pressed_.binding != nullptr && pressed_.binding->control == &c) pressed_ = {};
                post(action(false, [&c, checked](ui::Screen& s) {
                    switch (c.kind()) {
                        case ui::Kind::CheckBox:
                            s.operatorTick(c, checked);
                            break;
                        case ui::Kind::OptionButton:
                            s.operatorSelect(c);
                            break;
                        default:
                            s.operatorClick(c);
                            break;
                    }
                }));
            });
            break;
        }
        case ui::Kind::MenuItem:
            connect(static_cast<QAction*>(b.object), &QAction::triggered, this, [this, action, &c] {
                post(action(false, [&c](ui::Screen& s) { s.operatorClick(c); }));
            });
            break;
        case ui::Kind::ComboBox:
            connect(static_cast<QComboBox*>(b.object), &QComboBox::activated, this,
                    [this, action, &c](int index) {
                        if (applying_) return;
                        post(action(false, [&c, index](ui::Screen& s) {
                            if (s.focused() == &c) s.operatorChoose(c, index);
                        }));
                    });
            break;
        case ui::Kind::Grid: {
            auto* table = static_cast<QTableView*>(b.object);
            connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this, action, &c](const QModelIndex& current) {
                        if (applying_) return;
                        post(action(false, [&c, row = current.row()](ui::Screen& s) {
                            if (s.focused() == &c) s.operatorRow(c, row);
                        }));
                    });
            connect(table, &QTableView::doubleClicked, this, [this, action, &c] {
                post(action(false, [&c](ui::Screen& s) {
                    if (s.focused() == &c) s.operatorDblClick(c);
                }));
            });
            break;
        }
        case ui::Kind::TabStrip:
            connect(static_cast<QTabWidget*>(b.object), &QTabWidget::currentChanged, this,
                    [this, action, &c](int page) {
                        if (applying_) return;
                        post(action(false, [&c, page](ui::Screen& s) { s.operatorPage(c, page); }));
                    });
            break;
        default:
            break;
    }
}

void Binder::setTabOrder(const View& v) {
    QWidget* previous = nullptr;
    for (const auto& c : v.screen->controls()) {
        const Binding* b = v.find(c.get());
        if (b == nullptr || b->widget == nullptr || !takesFocus(c->kind()) || !c->tabStop) {
            continue;
        }
        if (previous != nullptr) QWidget::setTabOrder(previous, b->widget);
        previous = b->widget;
    }
}

// ---- Model to widgets ----

void Binder::applyAll(Binding& b) {
    if (!b.control->caption().empty()) apply(b, ui::Property::Caption);
    for (ui::Property p :
         {ui::Property::Items, ui::Property::Text, ui::Property::Value, ui::Property::Enabled,
          ui::Property::Visible, ui::Property::Locked, ui::Property::Grid, ui::Property::Look}) {
        apply(b, p);
    }
}

void Binder::apply(Binding& b, ui::Property p) {
    const bool wasApplying = applying_;
    applying_ = true;
    // Actions tell their menus about changes through their own signals.
    const QSignalBlocker blocker(b.widget);
    const ui::Control& c = *b.control;
    auto* action = b.widget == nullptr ? static_cast<QAction*>(b.object) : nullptr;
    switch (p) {
        case ui::Property::Text:
            showText(b);
            break;
        case ui::Property::Caption:
            showCaption(b);
            break;
        case ui::Property::Value:
            if (auto* button = qobject_cast<QAbstractButton*>(b.object);
                button != nullptr && button->isCheckable()) {
                button->setChecked(c.value() != 0);
            }
            break;
        case ui::Property::Enabled:
            if (action != nullptr) {
                action->setEnabled(c.enabled());
            } else {
                b.widget->setEnabled(c.enabled());
            }
            break;
        case ui::Property::Visible:
            if (action != nullptr) {
                action->setVisible(c.visible());
            } else {
                b.widget->setVisible(c.visible());
            }
            break;
        case ui::Property::Locked:
            if (QLineEdit* e = b.lineEdit()) e->setReadOnly(b.readOnly());
            if (auto* area = qobject_cast<QPlainTextEdit*>(b.object)) {
                area->setReadOnly(b.readOnly());
            }
            showLook(b);
            break;
        case ui::Property::Items:
            showItems(b);
            break;
        case ui::Property::Grid:
            if (b.grid != nullptr) {
                b.grid->reset();
                showRow(b);
            }
            break;
        case ui::Property::CurrentRow:
            showRow(b);
            break;
        case ui::Property::Page:
            if (auto* tabs = qobject_cast<QTabWidget*>(b.object)) {
                tabs->setCurrentIndex(c.currentPage());
            }
            break;
        case ui::Property::Look:
            showLook(b);
            break;
    }
    applying_ = wasApplying;
}

void Binder::showText(Binding& b) {
    const ui::Control& c = *b.control;
    const QString text = qs(c.text());
    if (auto* area = qobject_cast<QPlainTextEdit*>(b.object)) {
        if (area->toPlainText() != text) area->setPlainText(text);
        return;
    }
    QLineEdit* e = b.lineEdit();
    if (e == nullptr) return;
    const QString before = e->text();
    const int caret = e->cursorPosition();
    if (auto* box = qobject_cast<QComboBox*>(b.object)) {
        if (box->currentIndex() != c.listIndex()) box->setCurrentIndex(c.listIndex());
        if (box->currentText() != text) box->setEditText(text);
    } else if (before != text) {
        e->setText(text);
    }
    // In the field being edited the caret stays where it was (a click placed it there).
    if (e->text() != before && b.widget->hasFocus()) {
        e->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
    }
}

void Binder::showLook(Binding& b) {
    if (b.widget == nullptr) return;
    QPalette palette;
    if (!b.control->foreColor.empty()) {
        const QColor color(qs(b.control->foreColor));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(role, color);
        }
    }
    // A field the program fills has the colour of the window behind it, so that nobody tries
    // to type into it; a check box the program sets, the same behind its tick.
    if (b.readOnly()) palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    b.widget->setPalette(palette);
}

void Binder::showCaption(Binding& b) {
    const QString caption = qs(b.control->caption());
    if (auto* label = qobject_cast<QLabel*>(b.object)) {
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
    } else if (auto* button = qobject_cast<QAbstractButton*>(b.object)) {
        button->setText(caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(b.object)) {
        frame->setTitle(caption);
    } else if (auto* action = qobject_cast<QAction*>(b.object)) {
        action->setText(caption);
    }
}

void Binder::showItems(Binding& b) {
    auto* box = qobject_cast<QComboBox*>(b.object);
    if (box == nullptr) return;
    box->clear();
    for (const ui::ListItem& item : b.control->items()) box->addItem(qs(item.shown));
    box->setCurrentIndex(b.control->listIndex());
    box->setEditText(qs(b.control->text()));
}

void Binder::showRow(Binding& b) {
    if (b.grid == nullptr) return;
    auto* table = static_cast<QTableView*>(b.widget);
    const int row = b.control->currentRow();
    if (row < 0) {
        table->selectionModel()->clear();
        return;
    }
    const QModelIndex index = b.grid->index(row, 0);
    table->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->scrollTo(index);
}

// Selected from the end back to the start: the start of a long text is in view.
void Binder::selectWhole(const Binding& b) {
    if (QLineEdit* e = b.lineEdit()) e->setSelection(e->text().size(), -e->text().size());
}

// ---- Widgets to model ----

void Binder::post(Action a) {
    pending_.push_back(std::move(a));
    if (flushQueued_) return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            flushQueued_ = false;
            flush();
        },
        Qt::QueuedConnection);
}

void Binder::runNow(Action a) {
    if (running_) return post(std::move(a));
    pending_.push_back(std::move(a));
    flush();
}

void Binder::flush() {
    if (running_) return;
    while (!pending_.empty()) {
        Action a = std::move(pending_.front());
        pending_.pop_front();
        run(a);
    }
    // A message box that closed may leave no window active (no window manager to hand the
    // activation back): the operator's keys go to the screen on top again.
    if (QApplication::activeWindow() == nullptr && QApplication::activeModalWidget() == nullptr) {
        if (const ui::Screen* top = program_.active()) {
            if (const View* v = viewOf(*top)) v->window->activateWindow();
        }
    }
    syncFocus();
}

void Binder::run(Action& a) {
    View* v = view(a.view);
    if (v == nullptr || !v->screen->alive()) return;
    running_ = true;
    try {
        a.run();
    } catch (const std::exception& e) {
        // A failure the screen did not handle: the operator is told and the program goes on.
        program_.ports().messages->show(
            {"Attenzione", std::string("Problemi durante l'operazione\r\n") + e.what(),
             ui::Buttons::OK, ui::Icon::Exclamation});
    }
    running_ = false;
    program_.collectGarbage();
    v = view(a.view);
    if (v == nullptr) return;
    if (a.movesFocus && v->screen->focused() != a.control) {
        // The program kept the focus elsewhere: later focus moves of this screen came from
        // Qt's focus, which is now out of date.
        std::erase_if(pending_, [&](const Action& p) { return p.view == a.view && p.movesFocus; });
    }
    // The widget may be ahead of the model (a click ticks a box the model then refuses).
    if (Binding* b = v->find(a.control)) {
        for (ui::Property p : {ui::Property::Text, ui::Property::Value, ui::Property::CurrentRow,
                               ui::Property::Page}) {
            apply(*b, p);
        }
        if (a.selectsText && v->screen->focused() == a.control) selectWhole(*b);
    }
}

void Binder::syncFocus() {
    for (const auto& [id, v] : views_) {
        if (pressed_.view == id) continue;
        const Binding* b = v->find(v->screen->focused());
        if (b == nullptr || b->widget == nullptr) continue;
        // The field a window opens on is entered as with Tab.
        if (std::exchange(v->opening, false)) selectWhole(*b);
        if (b->widget->window()->focusWidget() == b->widget && b->widget->hasFocus()) continue;
        focusing_ = true;
        b->widget->setFocus(Qt::OtherFocusReason);
        focusing_ = false;
    }
}

void Binder::scheduleSync() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!running_ && pending_.empty()) syncFocus();
        },
        Qt::QueuedConnection);
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    auto it = watched_.find(watched);
    if (it == watched_.end()) return false;
    const Watched w = it->second;
    if (w.binding == nullptr) {
        if (event->type() != QEvent::Close) return false;
        // The model decides whether a screen closes.
        event->ignore();
        closeRequest(w.view);
        return true;
    }
    if (w.binding->completer != nullptr && watched == w.binding->completer->popup()) {
        if (event->type() != QEvent::KeyPress) return false;
        return completionKey(w.view, *w.binding, static_cast<QKeyEvent*>(event));
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            reveal(w.binding->widget);
            focusIn(w.view, *w.binding, static_cast<QFocusEvent*>(event)->reason());
            return false;
        case QEvent::KeyPress:
            return keyPress(w.view, *w.binding, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonRelease:
            // A press that ends without a click still moved the focus.
            if (pressed_.binding == w.binding) {
                ui::Control* c = w.binding->control;
                post(Action{w.view, c, true, [this, w, c] {
                                if (pressed_.binding != w.binding) return;
                                pressed_ = {};
                                view(w.view)->screen->operatorFocus(*c);
                            }});
            }
            return false;
        default:
            return false;
    }
}

void Binder::focusIn(int viewId, Binding& b, int reason) {
    if (running_ || applying_ || focusing_) return;
    ui::Control& c = *b.control;
    const View* v = view(viewId);
    if (v->screen->focused() == &c) return;
    switch (reason) {
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason:
            if (focusedByClick(c.kind())) {
                pressed_ = {viewId, &b};
                return;
            }
            [[fallthrough]];
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason: {
            // A click places the caret; the keyboard selects the whole text.
            const bool byKeyboard = reason != Qt::MouseFocusReason;
            post(Action{viewId, &c, true,
                        [this, viewId, &c] { view(viewId)->screen->operatorFocus(c); },
                        byKeyboard});
            return;
        }
        default:
            // Qt moved the focus on its own (a window activated, a popup closed): the model's
            // focus stands.
            scheduleSync();
            return;
    }
}

bool Binder::keyPress(int viewId, Binding& b, QKeyEvent* e) {
    if (passKey_) return false;
    const int code = keyCode(e);
    if (code == 0) return false;
    if (running_) return true;
    flush();
    View* v = view(viewId);
    if (v == nullptr) return true;
    ui::Screen& s = *v->screen;
    ui::Control& c = *b.control;
    // The focus did not get here: the key is lost, as the operator's keys are while a
    // message box is on screen.
    if (s.focused() != &c) return true;
    int through = 0;
    runNow(Action{viewId, &c, false, [&] {
                      // Enter on a button presses that button.
                      if (code == ui::kTastoInvio && c.kind() == ui::Kind::Button) {
                          s.operatorClick(c);
                      } else {
                          through = s.operatorKey(c, code);
                      }
                  }});
    // Enter and Esc belong to the model alone.
    if (view(viewId) == nullptr || code == ui::kTastoInvio || code == ui::kTastoEsc || through == 0)
        return true;
    if (through == code) return false;
    deliverKey(b.widget, through);
    return true;
}

// Proposes the entries of a list that hold the text typed so far; none for an empty text or
// one that already names its only match.
void Binder::propose(Binding& b) {
    if (b.completer == nullptr) return;
    const QString text = b.lineEdit()->text();
    b.completer->setCompletionPrefix(text);
    const int count = b.completer->completionCount();
    const bool named = count == 1 && b.completer->currentCompletion() == text;
    if (text.isEmpty() || count == 0 || named || b.readOnly() || !b.widget->hasFocus()) {
        b.completer->popup()->hide();
    } else {
        // Wide enough for the longest proposal, under the list.
        QAbstractItemView* popup = b.completer->popup();
        QRect under = b.widget->rect();
        under.setWidth(std::max(under.width(), popup->sizeHintForColumn(0) +
                                                   popup->verticalScrollBar()->sizeHint().width() +
                                                   2 * popup->frameWidth()));
        b.completer->complete(under);
    }
}

// A proposal taken is the list's own entry, chosen as from the list.
void Binder::takeProposal(int viewId, Binding& b, const QString& entry) {
    b.completer->popup()->hide();
    const int index = static_cast<QComboBox*>(b.object)->findText(
        entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui::Control& c = *b.control;
    post(Action{viewId, &c, false, [this, viewId, &c, index] {
                    ui::Screen& s = *view(viewId)->screen;
                    if (s.focused() == &c) s.operatorChoose(c, index);
                }});
}

// A key pressed while the proposals are open: the arrows move through them, Enter and Tab
// take the one marked, Esc closes them; every other key goes to the field as typed there.
bool Binder::completionKey(int viewId, Binding& b, QKeyEvent* e) {
    QAbstractItemView* popup = b.completer->popup();
    switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return false;
        case Qt::Key_Escape:
            popup->hide();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
            if (popup->currentIndex().isValid()) {
                takeProposal(viewId, b, popup->currentIndex().data().toString());
                return true;
            }
            popup->hide();
            break;
        case Qt::Key_Backtab:
            popup->hide();
            break;
        default:
            break;
    }
    QCoreApplication::sendEvent(b.object, e);
    return true;
}

void Binder::deliverKey(QWidget* w, int code) {
    const char32_t ch = static_cast<char32_t>(code);
    const bool backspace = code == ui::kTastoBackspace;
    QKeyEvent replaced(QEvent::KeyPress, backspace ? Qt::Key_Backspace : Qt::Key_unknown,
                       Qt::NoModifier, backspace ? QString() : QString::fromUcs4(&ch, 1));
    passKey_ = true;
    QCoreApplication::sendEvent(w, &replaced);
    passKey_ = false;
}

void Binder::closeRequest(int viewId) {
    post(Action{viewId, nullptr, false, [this, viewId] { view(viewId)->screen->operatorClose(); }});
}

}  // namespace gui
