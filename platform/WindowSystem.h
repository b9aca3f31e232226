#pragma once

#include <string>

namespace vidor::platform {

class Window;

enum class Buttons { Ok, YesNo };
enum class Icon { None, Exclamation, Question };
enum class Answer { Ok, Yes, No };

// Thrown by WindowSystem::endProgram to leave every handler and loop at once; the window
// system catches it where it called the program and ends the process with `status`.
struct ProgramEnd {
    int status = 0;
};

// Exit statuses of the program.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitUndeleted = 1;
inline constexpr int kExitBadParameter = 2;
// A run with parameters met another copy of the program running for the same user: it did
// nothing, and a scheduled run must not pass for done.
inline constexpr int kExitAnotherCopy = 4;

// The user interface as the logic sees it: windows, dialogs, the beep, and the event loop.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // Lets pending window events be handled (clicks, closing...) before going on.
    virtual void doEvents() = 0;

    // A modal message box; returns the button pressed.
    virtual Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                              const std::string& title) = 0;

    // A modal one-line prompt; returns the text typed, or the empty text when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    virtual void beep() = 0;

    // The whole screen's size, in twips.
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;

    // Shows a window and returns at once.
    virtual void show(Window& window) = 0;
    // Shows a window modally; returns once it is hidden.
    virtual void showModal(Window& window) = 0;

    // Ends the program at once with `status`: throws ProgramEnd, which no handler catches.
    [[noreturn]] void endProgram(int status) {
        ending(status);
        throw ProgramEnd{status};
    }

  protected:
    // Told that the program ends, before the ProgramEnd is thrown.
    virtual void ending(int status) = 0;
};

}  // namespace vidor::platform
