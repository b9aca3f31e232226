#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vidor::platform::cache {

// A browser's cache file, open for reading: each system opens it its own way, never through a
// link.
class CacheFile {
  public:
    virtual ~CacheFile() = default;

    // Its size when it was opened.
    virtual std::uint64_t size() const = 0;

    // Exactly `count` bytes from `offset`; nullopt when the file ends before or the read fails.
    virtual std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const = 0;
};

}  // namespace vidor::platform::cache
