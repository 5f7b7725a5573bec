#pragma once
// The windows of the screens, made from their Designer layouts, and where windows go on the
// screen. Widget object names are the control names, "name_i" for the control name(i).
#include <QMargins>
#include <QRect>
#include <string>

class QWidget;

namespace ui {
class Screen;
}

namespace gui {

// A new top-level window for the screen, nullptr when the screen has no layout.
QWidget* createLayout(const std::string& screenName);

// A plain form with one widget per control, for a screen without a layout of its own.
QWidget* createPlainLayout(const ui::Screen& screen);

// The object name of the widget that shows a control.
std::string widgetName(const std::string& controlName, int index);

// The size a window asks for: the size of its layout, more where the controls shown need more.
QSize naturalSize(const QWidget& window);

// The client area of a top-level window with `frame` around it: its natural size, but never
// more than `area` holds; centred on `centre` and moved inside `area`. A side cut short brings
// a scroll bar (`scrollBar` thick) across the other side, which then grows by as much if room
// allows.
QRect fitWindow(QSize natural, QMargins frame, const QRect& area, QPoint centre, int scrollBar);

// Sizes and places a top-level window before it is shown: at most its natural size, centred on
// the window below it (or on the screen), inside the available area of that screen.
void placeWindow(QWidget& window, QSize natural, const QWidget* below);

}  // namespace gui
