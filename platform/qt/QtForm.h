#pragma once

#include <QListView>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "platform/DrawPace.h"
#include "platform/Keyboard.h"
#include "platform/PixelScale.h"
#include "platform/controls/Control.h"
#include "platform/controls/Window.h"

namespace vidor::platform::qt {

class ListModel;
class ListView;
class QtWindowSystem;

// Draws a Window and its controls with Qt widgets at their twips positions scaled to the screen,
// forwards the user's clicks, double-clicks, keys, mouse moves and closing to the controls'
// handlers, and mirrors every later change of the controls. Where the controls lie on each other,
// the tab order, the focus and what Enter and Escape press follow the rules of platform/.
class QtForm : public QObject, public ControlObserver {
  public:
    QtForm(Window& window, QtWindowSystem& system, const PixelScale& scale);
    ~QtForm() override;

    QWidget* widget() const { return top_; }
    // The widget that draws `control`, or nullptr.
    QWidget* widgetOf(const Control& control) const;
    // The control drawn by `widget` or by one of its parts, or nullptr.
    Control* controlOf(const QWidget* widget) const;

    // Brings the lists on screen up to date: the lines appended since, laid out, and the first
    // line shown. Runs when the event loop next runs, and at every yield of the program's loops,
    // where a long list is laid out at the pace DrawPace sets; at once when `paced` is false.
    void showLists(bool paced = true);

    void changed(Control& control, Property property) override;
    void listChanged(ListBox& list, ListChange change, int index) override;

    // Called when the window is hidden (the end of a modal display).
    std::function<void()> onHidden;

    // From the top-level widget: the user closes the window, presses Tab or Shift+Tab (true when
    // the focus moved), or the window comes to the front.
    void closeAsked();
    bool tab(bool backwards);
    void activated();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* build(Control& control, QWidget* parent);
    QWidget* buildWidget(Control& control, QWidget* parent);
    QWidget* buildSurface(Control& control, QWidget* parent);
    void connectList(ListBox& list, ListView* view);
    void syncSelection(ListBox& list);
    void queueShowLists(qint64 delay = 0);
    // The event loop is about to wait: the program runs nothing that drawing could slow, and the
    // lists left for later are shown now.
    void idle();
    void applyWindow(Property property);
    void applyControl(Control& control, QWidget* widget, Property property);
    void stack(const Control& container);
    // Gives `control`'s widget its name for screen readers, and later names it again whenever
    // the caption that names it changes.
    void name(const Control& control);
    void captionChanged(const Control& control);
    void pressKey(Key key);
    // Moves the focus off a control the user can no longer use, as the keyboard rules say.
    void keepFocusUsable();
    void focus(Control* control);

    Window& window_;
    QtWindowSystem& system_;
    PixelScale scale_;
    QPointer<QWidget> top_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const QWidget*, Control*> controls_;
    std::unordered_map<const Control*, ListModel*> models_;
    std::unordered_map<const QObject*, Control*> hovered_;
    std::unordered_set<const Control*> topMoved_;
    // The controls each caption names.
    std::unordered_multimap<const Control*, const Control*> named_;
    QTimer showTimer_;
    DrawPace pace_;
    int longestShown_ = 0;  // lines of the longest list showLists() laid out
    bool syncing_ = false;
};

}  // namespace vidor::platform::qt
