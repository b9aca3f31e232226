#pragma once

#include <sys/stat.h>
#include <unistd.h>

namespace vidor::platform::linux_ {

// True when only its owner may write in `folder`, and that owner is this user or root: whoever
// else may write there could put another program in place of the new one, which root's
// scheduled run would then execute. The updater refuses any other folder, and the program does
// not hand over to it for such a folder.
inline bool writableByOwnerOnly(const struct stat& folder) {
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0 &&
           (folder.st_uid == ::geteuid() || folder.st_uid == 0);
}

}  // namespace vidor::platform::linux_
