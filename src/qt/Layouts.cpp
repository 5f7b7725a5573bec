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
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
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

// What a window's frame (title bar and borders) takes around its client area when no window
// on screen tells: about what the common desktops draw.
const QMargins kFrameEstimate(8, 32, 8, 8);

// The form fills a scroll area that fills the window: on a screen too small for the form the
// operator scrolls to the controls past the edge instead of losing them.
QScrollArea* scrolling(QWidget* form) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(form);
    return area;
}

// A window showing the Designer form, of the form's size.
template <class Form>
QWidget* make() {
    auto* form = new QWidget;
    Form ui;
    ui.setupUi(form);
    const QSize size = form->size();
    auto* window = new QWidget;
    window->setWindowTitle(form->windowTitle());
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(scrolling(form));
    window->resize(size);
    return window;
}

template <class Form>
QMainWindow* makeMain() {
    auto* window = new QMainWindow;
    Form ui;
    ui.setupUi(window);
    const QSize size = window->size();
    window->setCentralWidget(scrolling(window->takeCentralWidget()));
    window->resize(size);
    return window;
}

// The picture of a button without caption.
void setIcon(QWidget* window, const char* button, QStyle::StandardPixmap pixmap) {
    auto* b = window->findChild<QToolButton*>(button);
    b->setIcon(window->style()->standardIcon(pixmap));
}

// Column widths of a grid, in characters of the grid's font; the first column fits
// `firstColumn` whole. The binder gives the grid its model, so the widths apply as soon as the
// columns exist; the headers wrap their captions.
void setColumnWidths(QTableView* table, std::vector<int> widths, const QString& firstColumn) {
    QHeaderView* header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    const QFontMetrics metrics(header->font());
    header->setMinimumHeight(3 * metrics.lineSpacing() + 8);
    const int unit = metrics.horizontalAdvance(QLatin1Char('0'));
    const int first = QFontMetrics(table->font()).horizontalAdvance(firstColumn) + 2 * unit;
    widths[0] = std::max(widths[0] * unit, first);
    for (std::size_t i = 1; i < widths.size(); ++i) widths[i] *= unit;
    QObject::connect(header, &QHeaderView::sectionCountChanged, header,
                     [header, widths = std::move(widths)](int, int count) {
                         for (int i = 0; i < count && i < static_cast<int>(widths.size()); ++i) {
                             header->resizeSection(i, widths[i]);
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
    if (screenName == "frmInizio") return makeMain<Ui::frmInizio>();
    if (screenName == "frmConfigVD") {
        QWidget* window = make<Ui::frmConfigVD>();
        setIcon(window, "cmdUscita", QStyle::SP_DialogCloseButton);
        return window;
    }
    if (screenName == "frmAccessoVD") return make<Ui::frmAccessoVD>();
    if (screenName == "frmBaseVD") {
        QWidget* window = make<Ui::frmBaseVD>();
        setIcon(window, "cmdUscita", QStyle::SP_ArrowBack);
        return window;
    }
    if (screenName == "frmDataChiusura") return make<Ui::frmDataChiusura>();
    if (screenName == "frmCoFinanz") return make<Ui::frmCoFinanz>();
    if (screenName == "frmContributoConc") return make<Ui::frmContributoConc>();
    if (screenName == "frmStampeVD") return make<Ui::frmStampeVD>();
    if (screenName == "frmPercheVD") return make<Ui::frmPercheVD>();
    if (screenName == "frmRicercaVD") {
        QWidget* window = make<Ui::frmRicercaVD>();
        // Register number, surname, name, fiscal code, verdict, then the six amounts. The
        // register number is shown whole: six digits, the year, the two widest letters and
        // the largest progressive.
        setColumnWidths(window->findChild<QTableView*>("grdSchede1"),
                        {17, 16, 14, 18, 11, 11, 11, 11, 11, 12, 11},
                        QStringLiteral("0000002005WW32767"));
        return window;
    }
    return nullptr;
}

QSize naturalSize(const QWidget& window) {
    const auto* area = window.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    if (area == nullptr || area->widget() == nullptr) {
        return window.size().expandedTo(window.minimumSizeHint());
    }
    // Controls hidden since the layout last ran are left out only once it runs again.
    if (QLayout* layout = area->widget()->layout()) layout->activate();
    QSize form = area->widget()->minimumSizeHint();
    if (const auto* main = qobject_cast<const QMainWindow*>(&window)) {
        if (const QWidget* menu = main->menuWidget()) form.rheight() += menu->sizeHint().height();
    }
    return window.size().expandedTo(form);
}

QRect fitWindow(QSize natural, QMargins frame, const QRect& area, QPoint centre, int scrollBar) {
    const QRect room = area.marginsRemoved(frame);
    QSize size = natural;
    if (size.height() > room.height()) size.rwidth() += scrollBar;
    if (size.width() > room.width()) size.rheight() += scrollBar;
    size = size.boundedTo(room.size()).expandedTo(QSize(1, 1));
    QRect client(QPoint(), size);
    client.moveCenter(centre);
    client.moveLeft(
        std::max(room.left(), std::min(client.left(), room.right() + 1 - size.width())));
    client.moveTop(std::max(room.top(), std::min(client.top(), room.bottom() + 1 - size.height())));
    return client;
}

void placeWindow(QWidget& window, QSize natural, const QWidget* below) {
    const bool over = below != nullptr && below->isVisible();
    const QRect area = (over ? below->screen() : window.screen())->availableGeometry();
    QMargins frame = kFrameEstimate;
    QPoint centre = area.center();
    if (over) {
        // The window below shows the frame the window manager draws.
        const QRect outer = below->frameGeometry();
        const QRect inner = below->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
        centre = inner.center();
    }
    const QRect client = fitWindow(natural, frame, area, centre,
                                   window.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    window.resize(client.size());
    // A window's position is that of its frame.
    window.move(client.topLeft() - QPoint(frame.left(), frame.top()));
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
