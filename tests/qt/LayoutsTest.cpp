#include "qt/Layouts.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QScreen>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <memory>

#include "QtEnv.h"
#include "qt/AnteprimaStampa.h"

namespace gui {
namespace {

// The frame a desktop draws around a window: title bar and borders.
const QMargins kFrame(8, 31, 8, 8);

struct Screen {
    const char* name;
    QRect area;
};

const Screen kScreens[] = {
    {"1024x768", QRect(0, 0, 1024, 768)},
    {"1280x800", QRect(0, 0, 1280, 800)},
};

const char* const kLayouts[] = {
    "frmInizio",   "frmConfigVD",     "frmAccessoVD", "frmBaseVD",         "frmRicercaVD",
    "frmStampeVD", "frmDataChiusura", "frmCoFinanz",  "frmContributoConc", "frmPercheVD",
};

class LayoutsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
};

TEST_F(LayoutsTest, WindowsFitTheScreenWithoutSidewaysScrolling) {
    for (const Screen& screen : kScreens) {
        for (const char* name : kLayouts) {
            SCOPED_TRACE(std::string(name) + " at " + screen.name);
            std::unique_ptr<QWidget> window(createLayout(name));
            ASSERT_NE(window, nullptr);
            const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            // Over a window in the top right corner, frame and all inside the screen.
            const QPoint corner(screen.area.right() - 10, screen.area.top() + 10);
            const QRect client = fitWindow(naturalSize(*window), kFrame, screen.area, corner, bar);
            EXPECT_TRUE(screen.area.contains(client.marginsAdded(kFrame)));

            // Every control is reachable: the form scrolls, and needs no sideways scrolling.
            auto* area = window->findChild<QScrollArea*>();
            ASSERT_NE(area, nullptr);
            const QSize form = area->widget()->minimumSizeHint();
            const int roomForBar = form.height() > client.height() ? bar : 0;
            EXPECT_LE(form.width() + roomForBar, client.width());
            // From 1280x800 on, every form shows whole.
            if (screen.area.width() >= 1280) {
                EXPECT_LE(form.height(), client.height());
            }
        }
    }
}

TEST_F(LayoutsTest, PrintPreviewFitsTheSmallestScreen) {
    reports::Documento documento;
    documento.titolo = "Elenco Completo Domande";
    AnteprimaStampa anteprima(std::make_unique<Impaginazione>(documento, "06/12/2006"),
                              ui::ReportRequest{}, nullptr);
    const QSize smallest = kScreens[0].area.marginsRemoved(kFrame).size();
    // With room for the number of pages, once it is known.
    const int pages = anteprima.fontMetrics().horizontalAdvance("di 9999");
    EXPECT_LE(anteprima.minimumSizeHint().width() + pages, smallest.width());
    EXPECT_LE(anteprima.minimumSizeHint().height(), smallest.height());
    // Placed on its own screen, frame and all.
    const QRect area = anteprima.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(anteprima.geometry()));
}

TEST_F(LayoutsTest, SearchGridShowsTheWholeRegisterNumber) {
    std::unique_ptr<QWidget> window(createLayout("frmRicercaVD"));
    auto* grid = window->findChild<QTableView*>("grdSchede1");
    QStandardItemModel rows(1, 11);
    rows.setItem(0, 0, new QStandardItem("1234562005AB32767"));
    grid->setModel(&rows);
    // The text of a cell keeps a margin on either side of the column's width.
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
    const int text = grid->fontMetrics().horizontalAdvance("1234562005AB32767");
    EXPECT_GE(grid->horizontalHeader()->sectionSize(0), text + margin);
    grid->setModel(nullptr);
}

}  // namespace
}  // namespace gui
