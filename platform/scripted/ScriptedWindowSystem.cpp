#include "platform/scripted/ScriptedWindowSystem.h"

#include <utility>

#include "platform/controls/Window.h"

namespace vidor::platform {

void ScriptedWindowSystem::doEvents() {
    ++yields;
    auto [first, last] = atYield_.equal_range(yields);
    std::vector<std::function<void()>> due;
    for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
    atYield_.erase(first, last);
    for (auto& action : due) action();
    for (std::size_t i = 0; i < whileYielding_.size();) {
        if (whileYielding_[i]()) {
            whileYielding_.erase(whileYielding_.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
}

Answer ScriptedWindowSystem::messageBox(const std::string& text, Buttons buttons, Icon icon,
                                        const std::string& title) {
    messages.push_back({text, buttons, icon, title});
    if (!answers.empty()) {
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

std::string ScriptedWindowSystem::inputBox(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) {
    prompts.push_back({prompt, title, defaultText});
    if (promptAnswers.empty()) return {};
    std::string answer = std::move(promptAnswers.front());
    promptAnswers.pop_front();
    return answer;
}

void ScriptedWindowSystem::show(Window& window) {
    shown.push_back(&window);
    window.setVisible(true);
}

void ScriptedWindowSystem::showModal(Window& window) {
    show(window);
    if (onModal) onModal(window);
    window.setVisible(false);
}

void ScriptedWindowSystem::atYield(int yield, std::function<void()> action) {
    atYield_.emplace(yield, std::move(action));
}

void ScriptedWindowSystem::whileYielding(std::function<bool()> action) {
    whileYielding_.push_back(std::move(action));
}

}  // namespace vidor::platform
