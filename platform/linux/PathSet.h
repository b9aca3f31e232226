#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vidor::platform::linux_ {

// A set of paths held as one text (each path followed by a newline) and a table of where each
// distinct path starts, found by its hash: a question costs one hash and, mostly, one comparison.
class PathSet {
  public:
    PathSet() = default;
    // `text` must be empty or end with a newline; doubled paths are counted once.
    explicit PathSet(std::string text);

    bool contains(std::string_view path) const;
    std::size_t size() const { return count_; }
    const std::string& text() const { return text_; }

  private:
    // The slot where `path` is, or the empty slot where it would go.
    std::size_t slotOf(std::string_view path) const;

    std::string text_;
    std::vector<std::uint32_t> slots_;  // start of a path + 1, 0 for an empty slot
    std::size_t count_ = 0;
};

}  // namespace vidor::platform::linux_
