#include "ui/Control.h"

#include "ui/Screen.h"

namespace ui {

Control::Control(Screen& owner, Kind kind, std::string name, int index)
    : owner_(owner), kind_(kind), name_(std::move(name)), index_(index) {}

std::string Control::id() const {
    return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::notify(Property p) {
    if (observer) observer(*this, p);
}

void Control::fire(const std::function<void()>& handler) {
    if (handler) handler();
}

void Control::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (kind_ == Kind::ComboBox) {
        // Typed text chooses an entry only when it equals the entry's shown text exactly.
        listIndex_ = -1;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].shown == text_) {
                listIndex_ = static_cast<int>(i);
                break;
            }
        }
    }
    notify(Property::Text);
    fire(onChange);
}

void Control::setCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    notify(Property::Caption);
}

void Control::setValue(int value) {
    value = value != 0 ? 1 : 0;
    if (value == value_) return;
    value_ = value;
    if (kind_ == Kind::OptionButton && value_ == 1) {
        // Options of one group exclude each other; clearing the others fires nothing.
        for (const auto& other : owner_.controls()) {
            if (other.get() != this && other->kind_ == Kind::OptionButton &&
                other->group == group && other->container == container && other->value_ == 1) {
                other->value_ = 0;
                other->notify(Property::Value);
            }
        }
    }
    notify(Property::Value);
    if (kind_ == Kind::OptionButton) {
        if (value_ == 1) fire(onClick);
    } else {
        fire(onChange);
    }
}

void Control::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    notify(Property::Enabled);
}

void Control::setVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    notify(Property::Visible);
}

bool Control::shown() const {
    for (const Control* c = this; c != nullptr; c = c->container) {
        if (!c->visible_) return false;
    }
    return true;
}

bool Control::focusable() const {
    switch (kind_) {
        case Kind::Label:
        case Kind::MenuItem:
        case Kind::TabStrip:
        case Kind::Frame:
            return false;
        default:
            return enabled_ && shown();
    }
}

void Control::setLocked(bool on) {
    if (on == locked_) return;
    locked_ = on;
    notify(Property::Locked);
}

void Control::setForeColor(const std::string& color) {
    if (color == foreColor) return;
    foreColor = color;
    notify(Property::Look);
}

void Control::setItems(std::vector<ListItem> items) {
    items_ = std::move(items);
    listIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].shown == text_) {
            listIndex_ = static_cast<int>(i);
            break;
        }
    }
    notify(Property::Items);
}

std::string Control::boundValue() const {
    return listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)].code : std::string();
}

void Control::setBoundValue(const std::string& code) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].code == code) {
            listIndex_ = static_cast<int>(i);
            setText(items_[i].shown);
            notify(Property::Text);
            return;
        }
    }
    listIndex_ = -1;
    setText("");
    notify(Property::Text);
}

void Control::chooseIndex(int i) {
    if (i < 0 || i >= static_cast<int>(items_.size())) return;
    setText(items_[static_cast<std::size_t>(i)].shown);
    listIndex_ = i;
    notify(Property::Text);
    fire(onClick);
}

void Control::setGridModel(std::shared_ptr<GridModel> model) {
    grid_ = std::move(model);
    gridChanged();
}

void Control::gridChanged() {
    const int rows = grid_ ? grid_->rowCount() : 0;
    currentRow_ = rows > 0 ? (currentRow_ >= 0 && currentRow_ < rows ? currentRow_ : 0) : -1;
    notify(Property::Grid);
}

void Control::setCurrentRow(int row) {
    const int rows = grid_ ? grid_->rowCount() : 0;
    if (row < -1 || row >= rows || row == currentRow_) return;
    currentRow_ = row;
    notify(Property::CurrentRow);
}

void Control::setCurrentPage(int page) {
    if (page == currentPage_ || page < 0 || page >= static_cast<int>(pages.size())) return;
    currentPage_ = page;
    notify(Property::Page);
    fire(onClick);
}

}  // namespace ui
