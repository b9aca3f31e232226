#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A list of text lines, in the order they were added. A multiple-selection list lets each
// line be selected on its own (one click selects or deselects it); a single-selection list
// has at most one selected line, its list index, -1 when none is.
class ListBox : public Control {
  public:
    enum class Selection { Single, Multiple };

    ListBox(std::string name, Twips place, int tabIndex, Selection selection);

    bool multiple() const { return selection_ == Selection::Multiple; }
    int count() const { return static_cast<int>(items_.size()); }
    const std::string& item(int index) const { return items_.at(index); }
    const std::deque<std::string>& items() const { return items_; }

    // Appends a line and returns its index.
    int addItem(std::string text);
    // Removes one line; the selection stays on the lines that remain.
    void removeItem(int index);
    void clear();

    // Multiple selection: a change of one line's state, by the user or the program,
    // runs the click handler; setting the state a line already has runs nothing.
    bool selected(int index) const;
    void setSelected(int index, bool selected);
    // Index of the first selected line, or -1.
    int firstSelected() const;

    // Single selection: the selected line, or -1. Setting another index runs the click handler.
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);

    // First line shown at the top of the list.
    int topIndex() const { return topIndex_; }
    void setTopIndex(int index);

    // The list's mark: "OK" while a line is selected (kept by the window's handlers).
    std::string tag;

    // What to show when the mouse rests on a line; none when unset.
    std::function<std::string(int line)> toolTip;

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    // The user double-clicked the selected line.
    void doubleClick();

  private:
    void notifyList(ListChange change, int index);

    Selection selection_;
    // A deque: the deletion takes lines off near the front of a list of any length.
    std::deque<std::string> items_;
    std::vector<bool> selected_;
    int listIndex_ = -1;
    int topIndex_ = 0;
};

// A line as the lists show it, whatever draws them: a control character (below a space, and DEL)
// becomes the replacement character U+FFFD, so that a name made to hide a tab or a line break
// shows that it does.
std::string displayedLine(const std::string& line);

}  // namespace vidor::platform
