#pragma once

#include <string>

#include "platform/Services.h"
#include "platform/controls/Button.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Window.h"

namespace vidor::help {

// The help window: a text on normal and unattended use, which can be read and not edited, and an
// "Ok" button that closes it, as Escape does.
class F_Help : public platform::Window {
  public:
    explicit F_Help(platform::Services& sys);

    // Centres and titles the window and fills the text box.
    void Form_Load();

    platform::TextBox t;
    platform::Button BOk;

  private:
    platform::Services& sys_;
};

// The help text, each line followed by its line breaks; no break after the last line.
std::string helpText();

}  // namespace vidor::help
