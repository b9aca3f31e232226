#include "platform/QuietWindowSystem.h"

namespace vidor::platform {

namespace {

// A box's text on one line: its line breaks become spaces.
std::string flat(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    return line;
}

}  // namespace

Answer QuietWindowSystem::messageBox(const std::string& text, Buttons buttons, Icon icon,
                                     const std::string& title) {
    if (!quiet_) return inner_.messageBox(text, buttons, icon, title);
    process_.writeError(title + " : " + flat(text));
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

std::string QuietWindowSystem::inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) {
    if (!quiet_) return inner_.inputBox(prompt, title, defaultText);
    process_.writeError(title + " : " + flat(prompt));
    return {};
}

}  // namespace vidor::platform
