#include "platform/linux/LinuxDrives.h"

#include <dirent.h>

namespace vidor::platform::linux_ {

int LinuxDrives::type(char letter) {
    const Drive* drive = map_.find(letter);
    return drive ? drive->type : kDriveNoRoot;
}

bool LinuxDrives::rootListable(char letter) {
    const Drive* drive = map_.find(letter);
    if (!drive) return false;
    DIR* root = ::opendir(drive->folder.c_str());
    if (!root) return false;
    ::closedir(root);
    return true;
}

std::string LinuxDrives::location(char letter) {
    const Drive* drive = map_.find(letter);
    return drive ? drive->folder : std::string();
}

}  // namespace vidor::platform::linux_
