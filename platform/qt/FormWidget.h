#pragma once

#include <QWidget>

namespace vidor::platform::qt {

class QtForm;

// The top-level widget of a form: it passes on to the form what the window as a whole receives
// (closing, Tab, coming to the front), so that the program's rules decide, not Qt's.
class FormWidget : public QWidget {
  public:
    explicit FormWidget(QtForm& form) : form_(form) {}

  protected:
    // Closing the window is the window's closing, which its handler decides.
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab from any control of the window come here.
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;

  private:
    QtForm& form_;
};

}  // namespace vidor::platform::qt
