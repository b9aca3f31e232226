#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/linux/UniqueFd.h"
#include "renovex/Updater.h"
#include "renovex/linux/NewVersion.h"
#include "renovex/linux/RunningCopies.h"

namespace vidor::renovex {

// The folder of the program to replace, held open from the start: whatever happens to its path
// meanwhile (a folder swapped for a link), the program is replaced in this very folder.
class ProgramFolder {
  public:
    // Opens the folder of the file `program`, never through a link, and checks that the
    // program may safely be replaced there; see error().
    explicit ProgramFolder(const std::string& program);

    // Why the program may not be replaced, in French; empty when it may.
    const std::string& error() const { return error_; }
    FileId programId() const { return {program_.st_dev, program_.st_ino}; }

    // Puts a whole copy of `newVersion` in the program's place in one step, with the rights of
    // the program it replaces and the date of the new version. A rename refused while the
    // program is busy is tried again until `deadline`. On failure `error` says why, and the
    // program and the folder are as they were.
    bool install(const NewVersion& newVersion, Deadline deadline, std::string& error);

  private:
    std::string check();

    std::string path_;
    std::string name_;
    platform::linux_::UniqueFd fd_;
    struct stat program_ {};
    std::string error_;
};

}  // namespace vidor::renovex
