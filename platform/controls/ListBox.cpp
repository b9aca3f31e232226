#include "platform/controls/ListBox.h"

#include <algorithm>
#include <utility>

namespace vidor::platform {

ListBox::ListBox(std::string name, Twips place, int tabIndex, Selection selection)
    : Control(std::move(name), place, tabIndex), selection_(selection) {}

int ListBox::addItem(std::string text) {
    items_.push_back(std::move(text));
    if (multiple()) selected_.push_back(false);
    notifyList(ListChange::Inserted, count() - 1);
    return count() - 1;
}

void ListBox::removeItem(int index) {
    if (index < 0 || index >= count()) return;
    items_.erase(items_.begin() + index);
    if (multiple()) selected_.erase(selected_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    topIndex_ = std::clamp(topIndex_, 0, std::max(count() - 1, 0));
    notifyList(ListChange::Removed, index);
}

void ListBox::clear() {
    items_.clear();
    selected_.clear();
    listIndex_ = -1;
    topIndex_ = 0;
    notifyList(ListChange::Cleared, 0);
}

bool ListBox::selected(int index) const {
    if (multiple()) return selected_.at(index);
    return index == listIndex_;
}

void ListBox::setSelected(int index, bool selected) {
    if (!multiple()) {
        if (selected)
            setListIndex(index);
        else if (index == listIndex_)
            setListIndex(-1);
        return;
    }
    if (selected_.at(index) == selected) return;
    selected_[index] = selected;
    notify(Property::Selection);
    if (onClick) onClick();
}

int ListBox::firstSelected() const {
    if (!multiple()) return listIndex_;
    auto it = std::find(selected_.begin(), selected_.end(), true);
    return it == selected_.end() ? -1 : static_cast<int>(it - selected_.begin());
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= count() || index == listIndex_) return;
    listIndex_ = index;
    notify(Property::Selection);
    if (onClick) onClick();
}

void ListBox::setTopIndex(int index) {
    index = std::clamp(index, 0, std::max(count() - 1, 0));
    if (index == topIndex_) return;
    topIndex_ = index;
    notify(Property::TopIndex);
}

void ListBox::doubleClick() {
    if (onDblClick) onDblClick();
}

void ListBox::notifyList(ListChange change, int index) {
    if (observer()) observer()->listChanged(*this, change, index);
}

std::string displayedLine(const std::string& line) {
    std::string shown;
    shown.reserve(line.size());
    for (const char c : line) {
        // UTF-8's multi-byte sequences hold no byte below 0x80: each byte tested is a character.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            shown += "\xEF\xBF\xBD";
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace vidor::platform
