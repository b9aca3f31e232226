#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vidor::platform::linux_ {

// A set of distinct file paths laid out as an image that can be kept in a file and used from it
// as it is (see PathSetLayout.h). Each path is a folder and a name: a folder's path is kept once
// however many files it holds, and a folder may have several paths (through links), each of
// which finds all its files. A question costs two hashes and mostly two comparisons.
class PathSet {
  public:
    PathSet() = default;
    // The paths of `text`, one a line, each folder as written; doubled paths are kept once.
    explicit PathSet(std::string_view text);

    // The set whose image is `image`, which `storage` keeps alive; nullopt when its sizes do not
    // fit together.
    static std::optional<PathSet> fromImage(std::string_view image,
                                            std::shared_ptr<const void> storage);
    // The set whose image is made of `folderCells`, `pathCells` and `text` with the counts of
    // `head`, all kept alive by `storage`; nullopt as above.
    static std::optional<PathSet> fromParts(const std::array<std::uint64_t, 4>& head,
                                            std::string_view folderCells,
                                            std::string_view pathCells, std::string_view text,
                                            std::shared_ptr<const void> storage);

    bool contains(std::string_view path) const;
    // How many distinct paths, counting a file once whatever paths its folder has.
    std::size_t size() const { return head_[0]; }
    // The image, in pieces that follow one another; they live as long as the set.
    std::array<std::string_view, 4> image() const;

    // A checksum of `pieces` taken as one, that tells a damaged copy from the one it was made of.
    static std::uint64_t checksum(std::span<const std::string_view> pieces);

  private:
    std::optional<std::uint32_t> folderId(std::string_view folder) const;
    bool holds(std::uint32_t folder, std::string_view name) const;

    std::shared_ptr<const void> storage_;
    std::array<std::uint64_t, 4> head_{};
    std::string_view folderCells_;
    std::string_view pathCells_;
    std::string_view text_;
};

}  // namespace vidor::platform::linux_
