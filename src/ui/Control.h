#pragma once
// A control of a screen model: the properties the program reads and writes and the events it
// reacts to. A change made by the program fires the same reaction as one made by the operator;
// setting a value to what it already is fires nothing.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Screen;

enum class Kind {
    TextBox,
    DateBox,
    CheckBox,
    OptionButton,
    ComboBox,
    Grid,
    Label,
    Button,
    MenuItem,
    TabStrip,
    Frame,
};

struct ListItem {
    std::string code;   // the bound value
    std::string shown;  // the text shown in the list
};

// Rows of a grid, read on demand so that large lists cost nothing until shown.
class GridModel {
public:
    virtual ~GridModel() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual std::string header(int column) const = 0;
    virtual std::string cell(int row, int column) const = 0;
    virtual bool rightAligned(int /*column*/) const { return false; }
};

// What changed, for the toolkit binder.
enum class Property {
    Text,
    Caption,
    Value,
    Enabled,
    Visible,
    Locked,
    Items,
    Grid,
    CurrentRow,
    Page,
    Look,
};

class Control {
public:
    Control(Screen& owner, Kind kind, std::string name, int index);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Screen& screen() const { return owner_; }
    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 for a control without index
    std::string id() const;               // "txtNome" or "txtNome(3)"

    // Text of a text box, date box or the edit part of a list. Fires onChange when it differs.
    const std::string& text() const { return text_; }
    void setText(const std::string& text);

    // Caption of a label, button, check box, option, frame or menu entry.
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);

    // Check box or option button: 1 set, 0 not set. A check box fires onChange when its value
    // changes; an option that becomes set clears the other options of its group and fires
    // onClick.
    int value() const { return value_; }
    void setValue(int value);
    std::string group;  // option group: options of one group exclude each other

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }  // its own setting
    void setVisible(bool on);
    bool shown() const;  // visible and inside shown containers
    bool locked() const { return locked_; }
    void setLocked(bool on);

    int maxLength = 0;             // 0: no limit (characters)
    std::string passwordChar;      // "*" hides the text
    bool rightAligned = false;     // amounts
    bool multiLine = false;        // a text box that shows several lines
    std::string foreColor;         // "#RRGGBB", empty for the default
    Control* container = nullptr;  // frame holding the control
    int page = -1;                 // tab page of the screen's tab strip, -1 above the tabs
    std::string toolTip;
    bool tabStop = true;     // reached with Tab, and a candidate for the first focus of the screen
    bool focusable() const;  // a kind that takes the focus, enabled and shown
    void setForeColor(const std::string& color);

    // Lists: the entries, and the chosen one. Typed text chooses an entry only when it equals
    // the entry's shown text exactly.
    void setItems(std::vector<ListItem> items);
    const std::vector<ListItem>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    std::string boundValue() const;               // code of the chosen entry, "" when none
    void setBoundValue(const std::string& code);  // chooses the entry with this code, or none
    void chooseIndex(int i);                      // as a pick from the list (fires onClick)

    // Grid.
    void setGridModel(std::shared_ptr<GridModel> model);
    GridModel* gridModel() const { return grid_.get(); }
    void gridChanged();                             // the rows behind the model changed
    int currentRow() const { return currentRow_; }  // -1 when none
    void setCurrentRow(int row);

    // Tab strip.
    std::vector<std::string> pages;
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page);

    // Handlers of the screen.
    std::function<void()> onEnter;
    std::function<void()> onLeave;
    std::function<void()> onChange;
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(int& key)> onKeyPress;

    // For the toolkit binder: called after a property changed.
    std::function<void(Control&, Property)> observer;

private:
    void notify(Property p);
    void fire(const std::function<void()>& handler);

    Screen& owner_;
    Kind kind_;
    std::string name_;
    int index_;
    std::string text_;
    std::string caption_;
    int value_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool locked_ = false;
    std::vector<ListItem> items_;
    int listIndex_ = -1;
    std::shared_ptr<GridModel> grid_;
    int currentRow_ = -1;
    int currentPage_ = 0;
};

}  // namespace ui
