#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// A regular file held by its descriptor.
class FdFile final : public ReadableFile {
  public:
    // Opens the file `name` of the open folder `folder`; null when it is missing, a link, or not
    // a regular file. A pipe or a device in its place is opened without waiting, then refused.
    static std::unique_ptr<FdFile> open(int folder, const std::string& name);

    std::uint64_t size() const override { return size_; }
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const override;

  private:
    FdFile(UniqueFd fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {}

    UniqueFd fd_;
    std::uint64_t size_;
};

}  // namespace vidor::platform::linux_
