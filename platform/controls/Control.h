#pragma once

#include <string>
#include <vector>

namespace vidor::platform {

class Control;
class ListBox;

// Position and size of a control in twips (1/1440 inch), relative to the control that holds it.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What changed on a control, for whoever draws it.
enum class Property {
    Caption,
    Visible,
    Enabled,
    Geometry,
    Value,  // check box state
    Text,   // text box contents
    ForeColor,
    TopIndex,   // first visible line of a list
    Selection,  // selected items of a list
    Pointer,    // a window's mouse pointer
    Default,    // a window's default or cancel button
};

// How the lines of a list changed.
enum class ListChange { Inserted, Removed, Cleared };

// Told of every change of a control's state, so that a window system can mirror it.
class ControlObserver {
  public:
    virtual ~ControlObserver() = default;
    virtual void changed(Control& control, Property property) = 0;
    // A line was inserted at or removed from `index`, or every line was removed.
    virtual void listChanged(ListBox& list, ListChange change, int index) = 0;
};

// State shared by every control: a name, a place in twips, visibility and enabled state,
// the control that holds it and the ones it holds. A control draws nothing.
class Control {
  public:
    Control(std::string name, Twips place, int tabIndex = 0);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    int tabIndex() const { return tabIndex_; }

    const Twips& place() const { return place_; }
    void move(int left, int top);
    void resize(int width, int height);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    // Makes `child` one of the controls this one holds.
    void hold(Control& child);

    // The control whose caption names this one to a screen reader, where its own caption or the
    // frame holding it would not (nullptr: none).
    const Control* labelledBy() const { return labelledBy_; }
    void setLabelledBy(const Control& label) { labelledBy_ = &label; }

    // One observer at a time; nullptr detaches it.
    void setObserver(ControlObserver* observer) { observer_ = observer; }
    ControlObserver* observer() const { return observer_; }

  protected:
    void notify(Property property);

  private:
    std::string name_;
    Twips place_;
    int tabIndex_;
    bool visible_ = true;
    bool enabled_ = true;
    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    const Control* labelledBy_ = nullptr;
    ControlObserver* observer_ = nullptr;
};

}  // namespace vidor::platform
