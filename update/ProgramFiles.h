#pragma once

#include <string>

#include "platform/Process.h"

namespace vidor::update {

// Where the running program and its companions lie, in the machine's own paths: the program
// file, the updater beside it, the build machine's project marker, and the program's copy in
// an update folder. Folder paths handed around end with the machine's separator.
class ProgramFiles {
  public:
    // The files of the program that `process` runs.
    explicit ProgramFiles(platform::Process& process);

    // `folder` with the separator at its end, added when missing.
    std::string withSeparator(std::string folder) const;

    // The program's folder as the system gives it, without a final separator.
    const std::string& folder() const { return folder_; }
    // The program file's name without its extension, such as Vidor.
    const std::string& baseName() const { return baseName_; }

    // The program file itself.
    std::string program() const;
    // The updater's file name on this system, such as Renovex.
    std::string updaterName() const;
    // The updater: the program's folder, a separator (added without a test), then its name.
    std::string updater() const;
    // The file whose presence marks the machine where the program is built.
    std::string marker() const;
    // The program's copy in `updateFolder`, which ends with the separator.
    std::string copyIn(const std::string& updateFolder) const;

  private:
    std::string folder_;
    std::string baseName_;
    std::string suffix_;
    char separator_;
};

}  // namespace vidor::update
