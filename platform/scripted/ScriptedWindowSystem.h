#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace vidor::platform {

// A window system without a screen, for tests: it records what the program shows, answers
// message boxes and prompts from queues, and runs the test's actions when the program yields.
class ScriptedWindowSystem : public WindowSystem {
  public:
    struct Message {
        std::string text;
        Buttons buttons;
        Icon icon;
        std::string title;
    };
    struct Prompt {
        std::string prompt;
        std::string title;
        std::string defaultText;
    };

    void doEvents() override;
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void beep() override { ++beeps; }
    int screenWidth() override { return 19200; }
    int screenHeight() override { return 14400; }
    void show(Window& window) override;
    void showModal(Window& window) override;

    // Runs `action` when the program yields for the `yield`-th time (counting from 1).
    void atYield(int yield, std::function<void()> action);
    // Runs `action` at every yield until it returns true.
    void whileYielding(std::function<bool()> action);
    // Runs `action` while the window is shown modally; it must hide the window to end the display.
    std::function<void(Window&)> onModal;

    // Answers to the next message boxes, in order; without one, OK or Yes.
    std::deque<Answer> answers;
    // Answers to the next prompts, in order; without one, the prompt is cancelled.
    std::deque<std::string> promptAnswers;

    std::vector<Message> messages;
    std::vector<Prompt> prompts;
    std::vector<Window*> shown;
    int beeps = 0;
    int yields = 0;
    std::optional<int> endStatus;

  protected:
    void ending(int status) override { endStatus = status; }

  private:
    std::multimap<int, std::function<void()>> atYield_;
    std::vector<std::function<bool()>> whileYielding_;
};

}  // namespace vidor::platform
