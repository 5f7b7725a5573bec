#include "qt/QtPorts.h"

#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <filesystem>
#include <system_error>
#include <thread>

namespace gui {

namespace {

namespace fs = std::filesystem;

fs::path toPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void check(const std::error_code& ec) {
    if (ec) throw ui::ErroreDiSistema(ec);
}

QMessageBox::StandardButton standard(ui::Answer a) {
    switch (a) {
        case ui::Answer::OK:
            return QMessageBox::Ok;
        case ui::Answer::Cancel:
            return QMessageBox::Cancel;
        case ui::Answer::Yes:
            return QMessageBox::Yes;
        case ui::Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

std::string lineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

ui::Answer QtMessages::show(const ui::Message& m) {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(m.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(lineBreaks(m.text)));
    switch (m.icon) {
        case ui::Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case ui::Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case ui::Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
    }
    switch (m.buttons) {
        case ui::Buttons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case ui::Buttons::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case ui::Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    if (QAbstractButton* b = box.button(standard(m.defaultButton))) {
        box.setDefaultButton(static_cast<QPushButton*>(b));
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Cancel:
            return ui::Answer::Cancel;
        case QMessageBox::Yes:
            return ui::Answer::Yes;
        case QMessageBox::No:
            return ui::Answer::No;
        default:
            return m.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::OK;
    }
}

store::DateTime SystemClock::now() {
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime h = t.time();
    return {{d.year(), d.month(), d.day()}, h.hour(), h.minute(), h.second()};
}

bool QtFiles::exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(toPath(path), ec);
}

void QtFiles::rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(toPath(from), toPath(to), ec);
    check(ec);
}

void QtFiles::remove(const std::string& path) {
    std::error_code ec;
    fs::remove(toPath(path), ec);
    check(ec);
}

bool QtFiles::ready(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(toPath(folder), ec) && ::access(folder.c_str(), W_OK) == 0;
}

std::string QtFiles::mediaFolder() {
    const QSettings settings("Vendral", "Vendral2005");
    return settings.value("media/folder").toString().toStdString();
}

std::string QtFiles::chooseMediaFolder() {
    const std::string remembered = mediaFolder();
    if (!remembered.empty() && exists(remembered)) return remembered;
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), "Cartella del supporto rimovibile",
        QString::fromStdString(remembered.empty() ? "/media" : remembered));
    if (chosen.isEmpty()) return remembered;
    QSettings("Vendral", "Vendral2005").setValue("media/folder", chosen);
    return chosen.toStdString();
}

namespace {

// Swallows the operator's input everywhere while long work runs.
class InputBloccato : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::Close:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

}  // namespace

void QtBusy::run(const std::string& what, const std::function<void()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    InputBloccato blocco;
    qApp->installEventFilter(&blocco);
    QEventLoop attesa;
    QProgressDialog avanzamento(QString::fromStdString(what), QString(), 0, 0);
    avanzamento.setWindowTitle(QStringLiteral("Attendere"));
    avanzamento.setWindowModality(Qt::ApplicationModal);
    avanzamento.setMinimumDuration(1000);
    avanzamento.setValue(0);
    std::exception_ptr errore;
    std::thread lavoro([&] {
        try {
            work();
        } catch (...) {
            errore = std::current_exception();
        }
        QMetaObject::invokeMethod(&attesa, &QEventLoop::quit, Qt::QueuedConnection);
    });
    attesa.exec();
    lavoro.join();
    qApp->removeEventFilter(&blocco);
    QApplication::restoreOverrideCursor();
    if (errore) std::rethrow_exception(errore);
}

}  // namespace gui
