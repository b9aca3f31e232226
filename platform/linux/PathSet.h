#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vidor::platform::linux_ {

// A set of distinct paths laid out as one image that can be kept in a file and used from it as
// it is, without being read whole: a count, a table of slots where each path is found by its
// hash, then the paths, each followed by a newline. A question costs one hash and, mostly, one
// comparison.
class PathSet {
  public:
    PathSet() = default;
    // The paths of `text`, one a line; doubled paths are kept once.
    explicit PathSet(std::string_view text);

    // The set whose image is `image`, which `storage` keeps alive; nullopt when its sizes do not
    // fit together.
    static std::optional<PathSet> fromImage(std::string_view image,
                                            std::shared_ptr<const void> storage);

    bool contains(std::string_view path) const;
    // A checksum of `bytes` (an image), that tells a damaged copy from the one it was made of.
    static std::uint64_t checksum(std::string_view bytes);
    std::size_t size() const { return count_; }
    std::string_view image() const { return image_; }

  private:
    std::uint32_t slot(std::size_t index) const;
    std::string_view textAt(std::uint32_t slot) const;

    std::shared_ptr<const void> storage_;
    std::string_view image_;
    std::string_view text_;
    std::size_t count_ = 0;
    std::size_t slots_ = 0;  // a power of two, at least twice the count
};

}  // namespace vidor::platform::linux_
