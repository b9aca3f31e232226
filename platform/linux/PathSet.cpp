#include "platform/linux/PathSet.h"

#include <bit>
#include <functional>
#include <limits>
#include <stdexcept>

namespace vidor::platform::linux_ {

namespace {

std::string_view lineAt(const std::string& text, std::size_t start) {
    return std::string_view(text).substr(start, text.find('\n', start) - start);
}

}  // namespace

PathSet::PathSet(std::string text) : text_(std::move(text)) {
    if (text_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("package file table too large");
    }
    if (!text_.empty() && text_.back() != '\n') text_ += '\n';
    std::size_t lines = 0;
    for (const char c : text_) lines += c == '\n';
    // At most half full, so that a search mostly stops at its first slot.
    slots_.assign(std::bit_ceil(2 * lines + 2), 0);
    for (std::size_t start = 0; start < text_.size();) {
        const std::string_view path = lineAt(text_, start);
        std::uint32_t& slot = slots_[slotOf(path)];
        if (slot == 0) {
            slot = static_cast<std::uint32_t>(start + 1);
            ++count_;
        }
        start += path.size() + 1;
    }
}

std::size_t PathSet::slotOf(std::string_view path) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = std::hash<std::string_view>{}(path)&mask;
    while (slots_[at] != 0 && lineAt(text_, slots_[at] - 1) != path) at = (at + 1) & mask;
    return at;
}

bool PathSet::contains(std::string_view path) const {
    if (slots_.empty() || path.find('\n') != std::string_view::npos) return false;
    return slots_[slotOf(path)] != 0;
}

}  // namespace vidor::platform::linux_
