#pragma once
// The windows of the screens, made from their Designer layouts. Widget object names are the
// control names, "name_i" for the control name(i).
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

}  // namespace gui
