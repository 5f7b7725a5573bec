#include <gtest/gtest.h>
#include <QTest>

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

}  // namespace
}  // namespace gui
