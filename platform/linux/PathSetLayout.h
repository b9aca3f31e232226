#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

// How a PathSet lies in memory and in the cache file, shared by the set and its builder. Sizes
// and offsets are stored as they are in memory: the image is read on the machine that wrote it.
//
//   head      four 64-bit counts: paths, path cells, folder paths, folder cells
//   folders   one Cell per folder cell: {text offset of a folder's path + 1, the folder's id}
//   paths     one Cell per path cell: {folder id, text offset of the file's name + 1}
//   text      the folders' paths and the files' names, each followed by a newline
//
// A cell holding 0 as its text offset is free. A folder's id is the text offset + 1 of its first
// path; its other paths (through links) share that id. Each table is found by hashing with open
// addressing, at most three quarters full.
namespace vidor::platform::linux_::path_set {

struct Cell {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};

constexpr std::size_t kHeadWords = 4;

// Whether a table of `size` cells may hold `count` entries.
constexpr bool roomFor(std::uint64_t count, std::uint64_t size) {
    return count <= size - size / 4;
}

template <typename T>
T load(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Eight bytes at a time, then the high bits folded into the low ones the cells are chosen by:
// the same on every run, as the image outlives the process that made it.
inline std::uint64_t hashOf(std::string_view text, std::uint64_t seed = 0x9E3779B97F4A7C15ull) {
    constexpr std::uint64_t kMultiplier = 0xFF51AFD7ED558CCDull;
    std::uint64_t hash = seed ^ (text.size() * kMultiplier);
    for (; text.size() >= sizeof hash; text.remove_prefix(sizeof hash)) {
        hash = (hash ^ load<std::uint64_t>(text.data())) * kMultiplier;
        hash ^= hash >> 31;
    }
    std::uint64_t rest = 0;
    if (!text.empty()) std::memcpy(&rest, text.data(), text.size());
    hash = (hash ^ rest) * kMultiplier;
    return hash ^ (hash >> 29);
}

inline std::uint64_t hashOf(std::uint32_t folder, std::string_view name) {
    return hashOf(name, folder * 0xC2B2AE3D27D4EB4Full);
}

// Whether the text at `offsetPlusOne` is `wanted` followed by its newline; false for an offset
// outside `text` (a damaged image).
inline bool textIs(std::string_view text, std::uint32_t offsetPlusOne, std::string_view wanted) {
    const std::size_t from = offsetPlusOne - std::size_t{1};
    return offsetPlusOne != 0 && from < text.size() && text.size() - from > wanted.size() &&
           text[from + wanted.size()] == '\n' &&
           std::memcmp(text.data() + from, wanted.data(), wanted.size()) == 0;
}

// The text from `offsetPlusOne` to its newline.
inline std::string_view textAt(std::string_view text, std::uint32_t offsetPlusOne) {
    const std::size_t from = offsetPlusOne - std::size_t{1};
    if (offsetPlusOne == 0 || from >= text.size()) return {};
    const std::size_t end = text.find('\n', from);
    return text.substr(from, (end == std::string_view::npos ? text.size() : end) - from);
}

}  // namespace vidor::platform::linux_::path_set
