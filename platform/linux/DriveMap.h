#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vidor::platform::linux_ {

// One line of the mount table.
struct Mount {
    std::string device;  // major:minor
    std::string point;
    std::string fsType;
    std::string source;
};

// The mounts listed in the text of /proc/self/mountinfo, in its order.
std::vector<Mount> parseMountInfo(std::string_view mountInfo);
// The text of /proc/self/mountinfo.
std::string readMountInfo();

// One drive letter and the folder that stands for its root.
struct Drive {
    char letter = 'C';
    int type = 0;  // a kDrive value
    std::string folder;
};

// The drive letters of this machine. C: is the root file system; every other volume of a real
// file system (block device, network, RAM disk) takes the next letter, D: onward, in the order of
// their mount points; pseudo file systems take none, and a volume mounted twice takes one.
class DriveMap {
  public:
    // The map from VIDOR_UNITES when it is set, else from the mount table.
    static DriveMap fromSystem();

    // Entries "LETTRE=TYPE:CHEMIN" separated by ";" (C=3:/srv/a;E=2:/media/cle); malformed
    // entries are ignored.
    static DriveMap fromUnites(std::string_view text);

    // The contents of /proc/self/mountinfo; `removable` tells whether the block device
    // "major:minor" is removable.
    static DriveMap fromMountInfo(std::string_view mountInfo,
                                  const std::function<bool(const std::string&)>& removable);

    // The drive of `letter` (either case), or nullptr.
    const Drive* find(char letter) const;
    const std::vector<Drive>& drives() const { return drives_; }

  private:
    std::vector<Drive> drives_;
};

}  // namespace vidor::platform::linux_
