#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/windows/Handle.h"

namespace vidor::platform::windows {

// A regular file held by its handle.
class HandleFile final : public ReadableFile {
  public:
    // Opens the file `name` of the open folder `folder`; null when it is missing, a reparse point
    // (a link of any kind) or a folder.
    static std::unique_ptr<HandleFile> open(HANDLE folder, std::string_view name);

    std::uint64_t size() const override { return size_; }
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const override;

  private:
    HandleFile(Handle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    Handle file_;
    std::uint64_t size_;
};

}  // namespace vidor::platform::windows
