#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/GuardedWindowSystem.h"
#include "platform/PixelScale.h"

class QEventLoop;
class QWidget;

namespace vidor::platform::qt {

class QtForm;

// The window system of Qt Widgets: the program's handlers run from Qt's event loop, through
// guard(); boxes and the prompt are Qt's dialogs, in French.
class QtWindowSystem : public GuardedWindowSystem {
  public:
    explicit QtWindowSystem(RunMode mode = {});
    ~QtWindowSystem() override;

    int screenWidth() override;
    int screenHeight() override;
    void show(Window& window) override;
    int runLoop() override;
    void release(Window& window) override;

    // The widgets of a shown window (nullptr when it is not shown); for tests.
    QtForm* formOf(Window& window);
    // The window that `topLevel` draws, or nullptr.
    Window* windowOf(const QWidget* topLevel);

  protected:
    Answer showBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                   std::chrono::milliseconds closeAfter) override;
    std::optional<std::string> showPrompt(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText) override;
    void handleEvents() override;
    void runModal(Window& window) override;
    void ring() override;
    void stopLoops(int status) override;

  private:
    QtForm& formFor(Window& window);
    QWidget* activeWidget();

    PixelScale scale_;
    std::map<Window*, std::unique_ptr<QtForm>> forms_;
    std::vector<QEventLoop*> loops_;
};

}  // namespace vidor::platform::qt
