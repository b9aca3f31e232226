#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// The new contents of the file `name` of an open folder, written beside it without a name (or
// under a hidden temporary one where the file system needs it) and renamed over `name` in one
// step once complete: whoever opens `name` finds the old file or the whole new one, never a
// part of it. The temporary file is removed unless it was put in place, whatever failed.
class PendingFile {
  public:
    // Creates the temporary file in the folder open as `folder`; see error().
    PendingFile(int folder, std::string name);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // 0 when the temporary file was made, else the reason it could not be (an errno code).
    int error() const { return error_; }
    // The temporary file, open for reading and writing.
    int fd() const { return fd_.get(); }

    // Appends everything `source` holds from where it stands; 0, or the error code. `copied`
    // counts the bytes written.
    int copyFrom(int source, std::uint64_t& copied);
    // Gives the file the access rights `mode` and, unless null, the modification time
    // `modified`, then flushes it to disk; 0, or the error code.
    int seal(mode_t mode, const timespec* modified);
    // Renames the file over `name` and makes the rename last; 0, or the error code (the file
    // is kept for another try).
    int putInPlace();

  private:
    // Gives the file a hidden temporary name, made by `make` (false, with errno set, when it
    // fails). False, with errno set, when no name could be made.
    bool nameIt(const std::function<bool(const std::string&)>& make);

    int folder_;
    std::string name_;
    std::string temp_;
    UniqueFd fd_;
    int error_ = 0;
};

}  // namespace vidor::platform::linux_
