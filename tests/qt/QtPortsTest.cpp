#include <gtest/gtest.h>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "QtEnv.h"
#include "qt/QtPorts.h"

namespace gui {
namespace {

TEST(QtPortsTest, MessageLineBreaksBecomeSingleNewlines) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"a\r\nb", "a\nb"},       {"a\rb\rc", "a\nb\nc"}, {"a\nb", "a\nb"},
        {"a\r\n\r\nb", "a\n\nb"}, {"fine\r", "fine\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(lineBreaks(c.text), c.shown) << c.text;
}

// The keys an operator presses on a box and the answer the program gets.
TEST(QtPortsTest, MessageBoxAnswersFollowButtonsDefaultAndEscape) {
    test::ensureApplication();
    const struct {
        ui::Buttons buttons;
        ui::Answer defaultButton;
        Qt::Key key;
        ui::Answer expected;
    } cases[] = {
        {ui::Buttons::OK, ui::Answer::OK, Qt::Key_Return, ui::Answer::OK},
        {ui::Buttons::OK, ui::Answer::OK, Qt::Key_Escape, ui::Answer::OK},
        {ui::Buttons::OKCancel, ui::Answer::OK, Qt::Key_Escape, ui::Answer::Cancel},
        {ui::Buttons::OKCancel, ui::Answer::Cancel, Qt::Key_Return, ui::Answer::Cancel},
        {ui::Buttons::YesNo, ui::Answer::Yes, Qt::Key_Return, ui::Answer::Yes},
        {ui::Buttons::YesNo, ui::Answer::No, Qt::Key_Return, ui::Answer::No},
        {ui::Buttons::YesNo, ui::Answer::Yes, Qt::Key_Escape, ui::Answer::No},
    };
    QtMessages port;
    for (const auto& c : cases) {
        QString title;
        QString text;
        test::whenBoxOpens([&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            QTest::keyClick(&box, c.key);
        });
        const ui::Answer answer = port.show(
            {"Attenzione", "Uno\r\nDue", c.buttons, ui::Icon::Exclamation, c.defaultButton});
        EXPECT_EQ(answer, c.expected) << static_cast<int>(c.buttons) << " key " << c.key;
        EXPECT_EQ(title, "Attenzione");
        EXPECT_EQ(text, "Uno\nDue");
    }
}

// Long work shows its progress window after a second and hands back what it throws.
TEST(QtPortsTest, LongWorkShowsProgressAndPassesOnItsFailure) {
    test::ensureApplication();
    QtBusy busy;
    bool progressShown = false;
    QTimer::singleShot(1300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QProgressDialog*>(w) != nullptr && w->isVisible()) {
                progressShown = w->windowTitle() == "Attendere";
            }
        }
    });
    bool done = false;
    busy.run("Prova", [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1700));
        done = true;
    });
    EXPECT_TRUE(done);
    EXPECT_TRUE(progressShown);
    EXPECT_THROW(busy.run("Prova", [] { throw std::runtime_error("guasto"); }), std::runtime_error);
}

}  // namespace
}  // namespace gui
