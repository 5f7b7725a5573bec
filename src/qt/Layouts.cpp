#include "qt/Layouts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>
#include <vector>

#include "ui/Screen.h"
#include "ui_frmAccessoVD.h"
#include "ui_frmBaseVD.h"
#include "ui_frmCoFinanz.h"
#include "ui_frmConfigVD.h"
#include "ui_frmContributoConc.h"
#include "ui_frmDataChiusura.h"
#include "ui_frmInizio.h"
#include "ui_frmPercheVD.h"
#include "ui_frmRicercaVD.h"
#include "ui_frmStampeVD.h"

namespace gui {

namespace {

template <class Form, class Window>
Window* make() {
    auto* window = new Window;
    Form form;
    form.setupUi(window);
    return window;
}

// The picture of a button without caption.
void setIcon(QWidget* window, const char* button, QStyle::StandardPixmap pixmap) {
    auto* b = window->findChild<QToolButton*>(button);
    b->setIcon(window->style()->standardIcon(pixmap));
}

// Column widths of a grid, in characters of the grid's font. The binder gives the grid its
// model, so the widths apply as soon as the columns exist; the headers wrap their captions.
void setColumnWidths(QTableView* table, std::vector<int> widths) {
    QHeaderView* header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    const QFontMetrics metrics(header->font());
    header->setMinimumHeight(3 * metrics.lineSpacing() + 8);
    const int unit = metrics.horizontalAdvance(QLatin1Char('0'));
    QObject::connect(header, &QHeaderView::sectionCountChanged, header,
                     [header, widths = std::move(widths), unit](int, int count) {
                         for (int i = 0; i < count && i < static_cast<int>(widths.size()); ++i) {
                             header->resizeSection(i, widths[i] * unit);
                         }
                     });
}

// A field of the plain form: the widget for a control of this kind.
QWidget* plainWidget(const ui::Control& c) {
    switch (c.kind()) {
        case ui::Kind::TextBox:
            if (c.multiLine) return new QPlainTextEdit;
            return new QLineEdit;
        case ui::Kind::DateBox:
            return new QLineEdit;
        case ui::Kind::CheckBox:
            return new QCheckBox(QString::fromStdString(c.id()));
        case ui::Kind::OptionButton:
            return new QRadioButton(QString::fromStdString(c.id()));
        case ui::Kind::ComboBox: {
            auto* box = new QComboBox;
            box->setEditable(true);
            return box;
        }
        case ui::Kind::Grid:
            return new QTableView;
        case ui::Kind::Label:
            return new QLabel;
        case ui::Kind::Button:
            return new QPushButton(QString::fromStdString(c.id()));
        case ui::Kind::Frame:
            return new QGroupBox;
        case ui::Kind::TabStrip:
            return new QTabWidget;
        case ui::Kind::MenuItem:
            break;
    }
    return nullptr;
}

}  // namespace

std::string widgetName(const std::string& controlName, int index) {
    return index < 0 ? controlName : controlName + "_" + std::to_string(index);
}

QWidget* createLayout(const std::string& screenName) {
    if (screenName == "frmInizio") return make<Ui::frmInizio, QMainWindow>();
    if (screenName == "frmConfigVD") {
        QWidget* window = make<Ui::frmConfigVD, QWidget>();
        setIcon(window, "cmdUscita", QStyle::SP_DialogCloseButton);
        return window;
    }
    if (screenName == "frmAccessoVD") return make<Ui::frmAccessoVD, QWidget>();
    if (screenName == "frmBaseVD") {
        QWidget* window = make<Ui::frmBaseVD, QWidget>();
        setIcon(window, "cmdUscita", QStyle::SP_ArrowBack);
        return window;
    }
    if (screenName == "frmDataChiusura") return make<Ui::frmDataChiusura, QWidget>();
    if (screenName == "frmCoFinanz") return make<Ui::frmCoFinanz, QWidget>();
    if (screenName == "frmContributoConc") return make<Ui::frmContributoConc, QWidget>();
    if (screenName == "frmStampeVD") return make<Ui::frmStampeVD, QWidget>();
    if (screenName == "frmPercheVD") return make<Ui::frmPercheVD, QWidget>();
    if (screenName == "frmRicercaVD") {
        QWidget* window = make<Ui::frmRicercaVD, QWidget>();
        // Register number, surname, name, fiscal code, verdict, then the six amounts.
        setColumnWidths(window->findChild<QTableView*>("grdSchede1"),
                        {15, 16, 14, 18, 11, 11, 11, 11, 11, 12, 11});
        return window;
    }
    return nullptr;
}

QWidget* createPlainLayout(const ui::Screen& screen) {
    auto* window = new QWidget;
    window->resize(720, 540);
    auto* outer = new QVBoxLayout(window);
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* body = new QWidget;
    auto* top = new QFormLayout(body);
    area->setWidget(body);
    outer->addWidget(area);

    // Controls sit in their frame, else in their tab page, else on the form itself.
    std::map<const ui::Control*, QFormLayout*> frames;
    std::vector<QFormLayout*> pages;
    auto layoutFor = [&](const ui::Control& c) {
        if (auto it = frames.find(c.container); it != frames.end()) return it->second;
        if (c.page >= 0 && c.page < static_cast<int>(pages.size())) return pages[c.page];
        return top;
    };
    QMenu* menu = nullptr;
    for (const auto& owned : screen.controls()) {
        const ui::Control& c = *owned;
        const QString name = QString::fromStdString(widgetName(c.name(), c.index()));
        if (c.kind() == ui::Kind::MenuItem) {
            if (menu == nullptr) {
                auto* bar = new QMenuBar;
                outer->setMenuBar(bar);
                menu = bar->addMenu("&Menu");
            }
            menu->addAction(QString::fromStdString(c.id()))->setObjectName(name);
            continue;
        }
        QWidget* w = plainWidget(c);
        w->setObjectName(name);
        if (auto* frame = qobject_cast<QGroupBox*>(w)) frames[&c] = new QFormLayout(frame);
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (const std::string& caption : c.pages) {
                auto* page = new QWidget;
                pages.push_back(new QFormLayout(page));
                tabs->addTab(page, QString::fromStdString(caption));
            }
        }
        switch (c.kind()) {
            case ui::Kind::TextBox:
            case ui::Kind::DateBox:
            case ui::Kind::ComboBox:
            case ui::Kind::Grid:
            case ui::Kind::Label:
                layoutFor(c)->addRow(QString::fromStdString(c.id()), w);
                break;
            default:
                layoutFor(c)->addRow(w);
                break;
        }
    }
    return window;
}

}  // namespace gui
