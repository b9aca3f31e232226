#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cache/CacheFile.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// Reading the browsers' cache folders. Everything below the cache folder is opened one name at
// a time from an open folder and never through a symbolic link, so that a link planted in a
// cache can neither lead the program out of it nor be taken for an entry.

// Opens the folder `path` (names separated by "/") below the open folder `from`. An invalid
// descriptor when a name is missing, is a link or is not a folder.
UniqueFd openFolderBelow(int from, std::string_view path);

// The kinds of names sortedNames() keeps; a link is neither.
enum class NameKind { Folder, RegularFile };

// The names of the entries of kind `kind` in the open folder `folder`, in byte order ("." and
// ".." left out); empty when the folder cannot be listed.
std::vector<std::string> sortedNames(int folder, NameKind kind);

// A regular file open for reading, and its size when it was opened.
struct OpenFile {
    UniqueFd fd;
    std::uint64_t size = 0;
};

// Opens the file `name` of the open folder `folder`; nullopt when it is missing, a link, or not
// a regular file.
std::optional<OpenFile> openRegularFile(int folder, const std::string& name);

// Exactly `count` bytes of the open file `fd` from `offset`; nullopt when the file ends before
// or the read fails.
std::optional<std::string> readAt(int fd, std::uint64_t offset, std::size_t count);

// An open file as the cache formats read it.
class FdCacheFile final : public cache::CacheFile {
  public:
    explicit FdCacheFile(const OpenFile& file) : file_(file) {}
    std::uint64_t size() const override { return file_.size; }
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const override {
        return linux_::readAt(file_.fd.get(), offset, count);
    }

  private:
    const OpenFile& file_;
};

}  // namespace vidor::platform::linux_
