#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidor::platform::linux_ {

// One line of the mount table.
struct Mount {
    std::string device;  // major:minor
    std::string root;    // the folder of the volume mounted there ("/" unless bound)
    std::string point;
    std::string fsType;
    std::string source;
};

// The mounts listed in the text of /proc/self/mountinfo, in its order; lines it cannot read are
// passed over.
std::vector<Mount> parseMountInfo(std::string_view mountInfo);
// The text of /proc/self/mountinfo; empty when it cannot be read.
std::string readMountInfo();

}  // namespace vidor::platform::linux_
