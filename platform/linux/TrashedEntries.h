#pragma once

#include <string>

#include "platform/TrashedFiles.h"
#include "platform/linux/LinuxFileSystem.h"

namespace vidor::platform::linux_ {

// The files the program sent to the freedesktop.org trash, found again by their path there
// (<trash>/files/<name>) and their <trash>/info/<name>.trashinfo, which must name the very file
// the journal does. The rights of folders are kept as "mode:owner:group" (octal mode), one per
// folder from the drive's folder down to the file's, separated by "/".
class TrashedEntries : public TrashedFiles {
  public:
    explicit TrashedEntries(LinuxFileSystem& files) : files_(files) {}

    std::string folderRights(const std::string& path) override;
    std::optional<TrashedItem> find(const std::string& trashedAs, const std::string& path) override;
    Removal empty(const std::string& trashedAs) override;
    Restoral putBack(const std::string& trashedAs, const std::string& path,
                     const std::string& folderRights) override;

  private:
    // The real path of the file `path` (program's form), as a trash records it.
    std::string canonical(const std::string& path) const;

    LinuxFileSystem& files_;
    // The last folder asked about, and its answer: the files of a folder come one after another.
    std::string lastFolder_;
    std::string lastRights_;
};

}  // namespace vidor::platform::linux_
