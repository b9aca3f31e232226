#pragma once

#include <string>

#include "platform/Process.h"
#include "platform/WindowSystem.h"

namespace vidor::platform {

// A window system that passes everything on to another one until it is silenced: from then on
// it shows no window and no box, for a run that only prints (a box's title and text go to
// standard error, and it is answered OK or Yes), while yielding and ending go on as before.
class QuietWindowSystem : public WindowSystem {
  public:
    QuietWindowSystem(WindowSystem& inner, Process& process) : inner_(inner), process_(process) {}

    void silence() { quiet_ = true; }
    bool silenced() const { return quiet_; }

    void doEvents() override { inner_.doEvents(); }
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void beep() override {
        if (!quiet_) inner_.beep();
    }
    int screenWidth() override { return inner_.screenWidth(); }
    int screenHeight() override { return inner_.screenHeight(); }
    void show(Window& window) override {
        if (!quiet_) inner_.show(window);
    }
    void showModal(Window& window) override {
        if (!quiet_) inner_.showModal(window);
    }

  protected:
    // The inner system ends the program its own way (and throws).
    void ending(int status) override { inner_.endProgram(status); }

  private:
    WindowSystem& inner_;
    Process& process_;
    bool quiet_ = false;
};

}  // namespace vidor::platform
