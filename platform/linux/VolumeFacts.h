#pragma once

#include <functional>
#include <string>

#include "platform/linux/MountTable.h"

namespace vidor::platform::linux_ {

// What the system knows of the volume of a mount.
struct VolumeFacts {
    // Whether the block device "major:minor" is removable.
    std::function<bool(const std::string& device)> removable;
    // The UUID of the mount's file system, or the empty text when the system knows none.
    std::function<std::string(const Mount& mount)> uuid;
};

// The facts as this machine tells them: a device is removable when /sys says so or it hangs on
// a USB bus; the UUID is the name of its link in /dev/disk/by-uuid. What cannot be read counts
// as fixed, and as no UUID.
VolumeFacts systemVolumeFacts();

}  // namespace vidor::platform::linux_
