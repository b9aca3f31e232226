#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/linux/UniqueFd.h"

namespace vidor::renovex {

// The new version of the program, open for reading, and what it was when opened.
class NewVersion {
  public:
    // Opens `path`; see error().
    explicit NewVersion(std::string path);

    // Why the new version cannot be used, in French; empty when it is open and a plain file.
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    int fd() const { return fd_.get(); }
    std::uint64_t size() const { return static_cast<std::uint64_t>(opened_.st_size); }
    const timespec& modified() const { return opened_.st_mtim; }

    // True when the file is still the one opened, of the same size and date, and still lies
    // at its path: no one was writing or replacing it while it was read.
    bool unchanged() const;

  private:
    std::string path_;
    platform::linux_::UniqueFd fd_;
    struct stat opened_ {};
    std::string error_;
};

}  // namespace vidor::renovex
