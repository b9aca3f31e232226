#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeFacts.h"

namespace vidor::platform::linux_ {

// One drive letter and the folder that stands for its root.
struct Drive {
    char letter = 'C';
    int type = 0;  // a kDrive value
    std::string folder;
};

// The drive letters of this machine. C: is the root file system. Every other volume of a real
// file system (block device, network, RAM disk) keeps the letter it was given the first time it
// was seen, whatever else is mounted: the letters given are kept in a letter file, letter by
// volume (its file system's UUID, else its source and mount point), and a letter once given is
// never given to another volume. New volumes take the first free letters from D:, in the order of
// their mount points. Pseudo file systems take none, and a volume mounted twice takes one.
// (DriveMapLetters.cpp gives and keeps the letters; DriveMapUnites.cpp reads VIDOR_UNITES.)
class DriveMap {
  public:
    // The map from VIDOR_UNITES when it is set, else from the mount table and the user's letter
    // file (beside the settings).
    static DriveMap fromSystem();

    // Entries "LETTRE=TYPE:CHEMIN" separated by ";" (C=3:/srv/a;E=2:/media/cle); malformed
    // entries are ignored, and so is a letter named again.
    static DriveMap fromUnites(std::string_view text);

    // The contents of /proc/self/mountinfo, with the letters recorded in `letterFile` (which is
    // written again when a volume gets a new letter).
    static DriveMap fromMountInfo(std::string_view mountInfo, const VolumeFacts& facts,
                                  const std::string& letterFile);

    // The drive of `letter` (either case), or nullptr.
    const Drive* find(char letter) const;
    // The drives, in the order of their letters.
    const std::vector<Drive>& drives() const { return drives_; }

  private:
    explicit DriveMap(std::vector<Drive> drives);

    std::vector<Drive> drives_;
};

}  // namespace vidor::platform::linux_
