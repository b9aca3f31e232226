#include "platform/GuardedWindowSystem.h"

#include <cstdio>

namespace vidor::platform {

namespace {

// Whoever reads standard error reads the box too: a scheduled run's log, say. The program writes
// its line breaks CR LF; a log wants LF alone.
void writeOnError(const std::string& title, std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

void GuardedWindowSystem::doEvents() {
    if (mode_.screen) {
        const std::int64_t now = milliseconds();
        if (!lastEvents_ || now - *lastEvents_ >= kYield.count()) {
            handleEvents();
            lastEvents_ = milliseconds();
        }
    }
    checkEnded();
}

Answer GuardedWindowSystem::messageBox(const std::string& text, Buttons buttons, Icon icon,
                                       const std::string& title) {
    if (!mode_.screen || mode_.withParameters) writeOnError(title, text);
    if (!mode_.screen) return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    const auto closeAfter = mode_.withParameters ? mode_.boxLifetime : std::chrono::milliseconds{};
    const Answer answer = showBox(text, buttons, icon, title, closeAfter);
    checkEnded();
    return answer;
}

std::string GuardedWindowSystem::inputBox(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText) {
    if (!mode_.screen || mode_.withParameters) {
        writeOnError(title, prompt);
        return {};
    }
    std::optional<std::string> answer = showPrompt(prompt, title, defaultText);
    checkEnded();
    return answer.value_or("");
}

void GuardedWindowSystem::beep() {
    if (mode_.screen) ring();
}

void GuardedWindowSystem::showModal(Window& window) {
    if (!mode_.screen) return;
    runModal(window);
    checkEnded();
}

std::int64_t GuardedWindowSystem::milliseconds() const {
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void GuardedWindowSystem::ending(int status) {
    status_ = status;
    stopLoops(status);
}

void GuardedWindowSystem::checkEnded() const {
    if (status_) throw ProgramEnd{*status_};
}

}  // namespace vidor::platform
