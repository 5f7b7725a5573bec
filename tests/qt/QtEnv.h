#pragma once
// The application object the widget tests need, made once per test process.
#include <QApplication>
#include <QMessageBox>
#include <functional>

namespace gui::test {

inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

// Runs once every posted event, queued call and nested message box has run.
inline void settle() {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

// Answers the next message box that opens, from inside its own event loop.
inline void whenBoxOpens(std::function<void(QMessageBox&)> answer) {
    QMetaObject::invokeMethod(
        qApp,
        [answer = std::move(answer)] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answer(*box);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace gui::test
