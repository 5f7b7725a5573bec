#include "qt/Binder.h"

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <cctype>
#include <functional>

#include "QtEnv.h"
#include "application/frmPercheVD.h"
#include "qt/Layouts.h"
#include "qt/QtPorts.h"
#include "ui/Screen.h"

namespace gui {
namespace {

// Real message boxes, each answered with Enter as soon as it is on screen.
class AnsweredMessages : public ui::MessagePort {
public:
    ui::Answer show(const ui::Message& m) override {
        shown.push_back(m.text);
        test::whenBoxOpens([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
        const ui::Answer answer = boxes_.show(m);
        // As a window manager does, the window under the box is active again while the
        // handling that opened the box still runs: Qt's focus comes back where Qt had it.
        if (below != nullptr) below->activateWindow();
        test::settle();
        return answer;
    }
    std::vector<std::string> shown;
    QWidget* below = nullptr;

private:
    QtMessages boxes_;
};

// A large list that counts the cells read.
class Elenco : public ui::GridModel {
public:
    int rowCount() const override { return 100000; }
    int columnCount() const override { return 3; }
    std::string header(int column) const override { return "Colonna " + std::to_string(column); }
    std::string cell(int row, int column) const override {
        ++reads;
        return std::to_string(row) + "/" + std::to_string(column);
    }
    mutable int reads = 0;
};

// A screen with no layout of its own: the binder builds its plain form.
class frmProva : public ui::Screen {
public:
    explicit frmProva(ui::Program& program) : ui::Screen(program, "frmProva", "Prova") {
        auto& txtNome = add(ui::Kind::TextBox, "txtNome");
        add(ui::Kind::TextBox, "txtCitta");
        auto& chkAffitto = add(ui::Kind::CheckBox, "chkAffitto");
        auto& cmdOK = add(ui::Kind::Button, "cmdOK");
        auto& cmdCancel = add(ui::Kind::Button, "cmdCancel");
        add(ui::Kind::Grid, "grdElenco").setGridModel(elenco);
        auto& txtImporto = add(ui::Kind::TextBox, "txtImporto");
        auto& cmbComune = add(ui::Kind::ComboBox, "cmbComune");
        cmbComune.setItems({{"A00101", "ACQUAVIVA DI VALDORIA"},
                            {"A00104", "CASTELBRUNO"},
                            {"A00105", "CASTELNUOVO VALDORIA"},
                            {"A00113", "PIANELLO"}});
        defaultButton = &cmdOK;
        cancelButton = &cmdCancel;
        // Letters only, in upper case.
        txtNome.onKeyPress = [](int& key) {
            if (key >= 'a' && key <= 'z') key = std::toupper(key);
            if (key >= '0' && key <= '9') key = 0;
        };
        // An empty name is refused and keeps the focus.
        txtNome.onLeave = [this, &txtNome] {
            ++leaves;
            if (!txtNome.text().empty()) return;
            message("Nome obbligatorio");
            setFocus(txtNome);
        };
        chkAffitto.onChange = [this] { ++changes; };
        // An amount is edited without its zero: an empty one shows ",00" on entering.
        txtImporto.onEnter = [&txtImporto] {
            if (txtImporto.text().empty()) txtImporto.setText(",00");
        };
        // Text that names no entry exactly is no choice.
        cmbComune.onLeave = [&cmbComune] {
            if (cmbComune.listIndex() < 0) cmbComune.setBoundValue("");
        };
        cmdOK.onClick = [this] { ++oks; };
        cmdCancel.onClick = [this] { ++cancels; };
    }
    std::shared_ptr<Elenco> elenco = std::make_shared<Elenco>();
    int leaves = 0;
    int changes = 0;
    int oks = 0;
    int cancels = 0;
};

class BinderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void SetUp() override {
        program.registerScreen("frmProva",
                               [](ui::Program& p) { return std::make_unique<frmProva>(p); });
        program.registerScreen("frmSopra", [](ui::Program& p) {
            auto s = std::make_unique<ui::Screen>(p, "frmSopra", "Sopra");
            auto& nota = s->add(ui::Kind::TextBox, "txtNota");
            nota.onEnter = [&nota] { nota.setText(nota.text() + ",00"); };
            return s;
        });
        screen = static_cast<frmProva*>(&program.show("frmProva"));
        window = binder.window(*screen);
        ASSERT_NE(window, nullptr);
        messages.below = window;
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        test::settle();
    }

    template <class W>
    W* widget(const char* name) {
        auto* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    ui::Control& control(const char* name) { return screen->control(name); }
    // The plain form stretches a check box: only its indicator and text take clicks.
    static QPoint onIndicator(const QWidget* w) { return {6, w->height() / 2}; }

    AnsweredMessages messages;
    ui::Program program{ui::Ports{&messages, nullptr, nullptr, nullptr, nullptr}};
    Binder binder{program};
    frmProva* screen = nullptr;
    QWidget* window = nullptr;
};

TEST_F(BinderTest, TypedKeysPassTheModelsKeyFilter) {
    auto* nome = widget<QLineEdit>("txtNome");
    ASSERT_EQ(screen->focused(), &control("txtNome"));
    ASSERT_TRUE(nome->hasFocus());
    // Digits are swallowed, lower-case letters arrive in upper case.
    QTest::keyClicks(nome, "ro1ss2i");
    EXPECT_EQ(control("txtNome").text(), "ROSSI");
    EXPECT_EQ(nome->text(), "ROSSI");
    QTest::keyClick(nome, Qt::Key_Backspace);
    EXPECT_EQ(control("txtNome").text(), "ROSS");
    // Enter and Esc go to the model's default and cancel buttons, never into the text.
    QTest::keyClick(nome, Qt::Key_Return);
    test::settle();
    EXPECT_EQ(screen->oks, 1);
    EXPECT_EQ(nome->text(), "ROSS");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    test::settle();
    EXPECT_EQ(screen->cancels, 1);
}

TEST_F(BinderTest, LeaveThatKeepsTheFocusRunsOnceAndQtFollows) {
    auto* nome = widget<QLineEdit>("txtNome");
    auto* citta = widget<QLineEdit>("txtCitta");
    // The message box takes Qt's focus and gives it back to txtCitta when it closes; that
    // must not run the leave of txtNome a second time.
    QTest::keyClick(nome, Qt::Key_Tab);
    test::settle();
    EXPECT_EQ(screen->leaves, 1);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Nome obbligatorio"});
    EXPECT_EQ(screen->focused(), &control("txtNome"));
    EXPECT_TRUE(nome->hasFocus());

    // A mouse click on a button: the leave runs once, then the click.
    QTest::mouseClick(widget<QPushButton>("cmdOK"), Qt::LeftButton);
    test::settle();
    EXPECT_EQ(screen->leaves, 2);
    EXPECT_EQ(screen->oks, 1);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(nome->hasFocus());

    QTest::keyClicks(nome, "bianchi");
    QTest::keyClick(nome, Qt::Key_Tab);
    test::settle();
    EXPECT_EQ(screen->leaves, 3);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(screen->focused(), &control("txtCitta"));
    EXPECT_TRUE(citta->hasFocus());
}

TEST_F(BinderTest, CheckBoxChangeFiresOnceFromModelAndFromOperator) {
    auto* affitto = widget<QCheckBox>("chkAffitto");
    control("chkAffitto").setValue(1);
    test::settle();
    EXPECT_TRUE(affitto->isChecked());
    EXPECT_EQ(screen->changes, 1);

    control("txtNome").setText("ROSSI");  // so that leaving the name is allowed
    QTest::mouseClick(affitto, Qt::LeftButton, {}, onIndicator(affitto));
    test::settle();
    EXPECT_EQ(control("chkAffitto").value(), 0);
    EXPECT_FALSE(affitto->isChecked());
    EXPECT_EQ(screen->changes, 2);
    EXPECT_EQ(screen->focused(), &control("chkAffitto"));
}

TEST_F(BinderTest, TickRefusedByALeaveLeavesTheBoxAsTheModelHasIt) {
    auto* affitto = widget<QCheckBox>("chkAffitto");
    QTest::mouseClick(affitto, Qt::LeftButton, {}, onIndicator(affitto));
    test::settle();
    EXPECT_EQ(screen->leaves, 1);
    EXPECT_EQ(control("chkAffitto").value(), 0);
    EXPECT_FALSE(affitto->isChecked());
    EXPECT_EQ(screen->changes, 0);
    EXPECT_TRUE(widget<QLineEdit>("txtNome")->hasFocus());
}

TEST_F(BinderTest, GridReadsOnlyTheRowsOnScreen) {
    auto* elenco = widget<QTableView>("grdElenco");
    elenco->resize(400, 300);
    test::settle();
    elenco->viewport()->repaint();
    EXPECT_EQ(elenco->model()->rowCount(), 100000);
    EXPECT_EQ(elenco->model()->headerData(2, Qt::Horizontal).toString(), "Colonna 2");
    EXPECT_LT(screen->elenco->reads, 1000);

    control("grdElenco").setCurrentRow(50000);
    EXPECT_EQ(elenco->currentIndex().row(), 50000);
    EXPECT_EQ(elenco->currentIndex().data().toString(), "50000/0");
}

TEST_F(BinderTest, ModalScreenClosesThroughTheModel) {
    ui::Screen& sopra = program.show("frmSopra", true);
    QPointer<QWidget> finestra = binder.window(sopra);
    ASSERT_TRUE(finestra);
    EXPECT_EQ(finestra->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(finestra->parentWidget(), window);

    // The title bar's close asks the model, which closes the screen.
    QCloseEvent close;
    QApplication::sendEvent(finestra, &close);
    EXPECT_FALSE(close.isAccepted());
    test::settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program.active(), screen);
    EXPECT_FALSE(finestra);
    EXPECT_FALSE(program.ended());
}

TEST_F(BinderTest, ExplanationShowsReadOnlyOnSeveralLines) {
    application::MostraPerche(program, "",
                              {"A001012005AB1",
                               "ROSSI MARIO",
                               "01/09/2006",
                               {"Esito secondo le regole: Domanda ammissibile",
                                " 1. Reddito\n      ROSSI MARIO: 13.000,00"}});
    QWidget* finestra = binder.window(*program.active());
    ASSERT_NE(finestra, nullptr);
    auto* testo = finestra->findChild<QPlainTextEdit*>("txtPerche");
    ASSERT_NE(testo, nullptr);
    EXPECT_TRUE(testo->isReadOnly());
    EXPECT_EQ(testo->toPlainText().toStdString(),
              "Domanda A001012005AB1 - ROSSI MARIO - presentata il 01/09/2006\n\n"
              "Esito secondo le regole: Domanda ammissibile\n\n"
              " 1. Reddito\n      ROSSI MARIO: 13.000,00");
    for (const char* pulsante : {"cmdStampa", "cmdUscita"}) {
        EXPECT_NE(finestra->findChild<QPushButton*>(pulsante), nullptr) << pulsante;
    }
    // The application screen opens it from its municipality's page.
    std::unique_ptr<QWidget> domanda(createLayout("frmBaseVD"));
    EXPECT_NE(domanda->findChild<QPushButton*>("cmdPerche"), nullptr);
}

// Types into a field as the keyboard does: while proposals are open, they get the keys.
void typeInto(QWidget* field, const QString& text) {
    for (const QChar ch : text) {
        QWidget* target = QApplication::activePopupWidget();
        QTest::keyClick(target != nullptr ? target : field, ch.toLatin1());
    }
}

TEST_F(BinderTest, KeyboardSelectsTheTextTheEnterHandlingWroteAClickPlacesTheCaret) {
    struct Case {
        const char* how;
        const char* from;  // the control holding the focus before
        std::function<void(QWidget* from, QWidget* field)> enter;
        const char* stored;
    };
    const Case cases[] = {
        {"Tab", "grdElenco", [](QWidget* from, QWidget*) { QTest::keyClick(from, Qt::Key_Tab); },
         "9800"},
        {"Shift+Tab", "cmbComune",
         [](QWidget* from, QWidget*) { QTest::keyClick(from, Qt::Key_Tab, Qt::ShiftModifier); },
         "9800"},
        {"label shortcut", "grdElenco",
         [](QWidget*, QWidget* field) { field->setFocus(Qt::ShortcutFocusReason); }, "9800"},
        // The click put the caret before the text the enter handling then wrote.
        {"mouse", "grdElenco",
         [](QWidget*, QWidget* field) { QTest::mouseClick(field, Qt::LeftButton); }, "9800,00"},
    };
    control("txtNome").setText("ROSSI");
    auto* importo = widget<QLineEdit>("txtImporto");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        control("txtImporto").setText("");
        screen->setFocus(control(c.from));
        test::settle();
        c.enter(window->findChild<QWidget*>(c.from), importo);
        QTest::keyClicks(importo, "9800");
        test::settle();
        EXPECT_EQ(screen->focused(), &control("txtImporto"));
        EXPECT_EQ(control("txtImporto").text(), c.stored);
    }
}

TEST_F(BinderTest, WindowOpensOnItsFirstFieldSelected) {
    ui::Screen& sopra = program.show("frmSopra", true);
    QWidget* finestra = binder.window(sopra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(finestra));
    test::settle();
    auto* nota = finestra->findChild<QLineEdit*>("txtNota");
    ASSERT_TRUE(nota->hasFocus());
    QTest::keyClicks(nota, "9800");
    test::settle();
    EXPECT_EQ(sopra.control("txtNota").text(), "9800");
}

TEST_F(BinderTest, ListsProposeTheirEntriesAndStoreOnlyAnEntry) {
    struct Case {
        const char* typed;
        std::vector<std::string> proposed;
        std::vector<Qt::Key> keys;  // pressed while the proposals are open
        int clicked;                // the proposal clicked then, -1 for none
        std::string text;           // the list's text once the field is left
        std::string code;
    };
    const Case cases[] = {
        {"acqua",
         {"ACQUAVIVA DI VALDORIA"},
         {Qt::Key_Down, Qt::Key_Return},
         -1,
         "ACQUAVIVA DI VALDORIA",
         "A00101"},
        {"Valdoria",
         {"ACQUAVIVA DI VALDORIA", "CASTELNUOVO VALDORIA"},
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Tab},
         -1,
         "CASTELNUOVO VALDORIA",
         "A00105"},
        {"castel",
         {"CASTELBRUNO", "CASTELNUOVO VALDORIA"},
         {},
         1,
         "CASTELNUOVO VALDORIA",
         "A00105"},
        // The whole name in another case is proposed, but counts only once taken.
        {"castelbruno", {"CASTELBRUNO"}, {Qt::Key_Tab}, -1, "", ""},
        // Esc closes the proposals, not the screen.
        {"pian", {"PIANELLO"}, {Qt::Key_Escape}, -1, "", ""},
        {"zzz", {}, {}, -1, "", ""},
    };
    control("txtNome").setText("ROSSI");
    auto* comune = widget<QComboBox>("cmbComune");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        control("cmbComune").setText("");
        screen->setFocus(control("cmbComune"));
        test::settle();
        typeInto(comune, c.typed);
        test::settle();
        EXPECT_EQ(control("cmbComune").text(), c.typed);

        auto* popup = qobject_cast<QAbstractItemView*>(QApplication::activePopupWidget());
        std::vector<std::string> proposed;
        for (int r = 0; popup != nullptr && r < popup->model()->rowCount(); ++r) {
            proposed.push_back(popup->model()->index(r, 0).data().toString().toStdString());
        }
        EXPECT_EQ(proposed, c.proposed);
        for (Qt::Key key : c.keys) QTest::keyClick(QApplication::activePopupWidget(), key);
        if (c.clicked >= 0) {
            const QRect row = popup->visualRect(popup->model()->index(c.clicked, 0));
            QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, row.center());
        }
        test::settle();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        screen->setFocus(control("txtNome"));
        test::settle();
        EXPECT_EQ(control("cmbComune").text(), c.text);
        EXPECT_EQ(control("cmbComune").boundValue(), c.code);
        EXPECT_EQ(comune->currentText().toStdString(), c.text);
    }
    EXPECT_EQ(screen->cancels, 0);
    EXPECT_EQ(screen->oks, 0);
}

TEST_F(BinderTest, FieldsTheProgramFillsLookReadOnly) {
    auto* citta = widget<QLineEdit>("txtCitta");
    const QColor editable = citta->palette().color(QPalette::Base);
    // Locked, with a colour of the model's own: both show.
    control("txtCitta").setLocked(true);
    control("txtCitta").setForeColor("#FF0000");
    EXPECT_TRUE(citta->isReadOnly());
    EXPECT_EQ(citta->palette().color(QPalette::Base), citta->palette().color(QPalette::Window));
    EXPECT_NE(citta->palette().color(QPalette::Base), editable);
    EXPECT_EQ(citta->palette().color(QPalette::Text), QColor("#FF0000"));
    control("txtCitta").setLocked(false);
    EXPECT_EQ(citta->palette().color(QPalette::Base), editable);
}

}  // namespace
}  // namespace gui
