#pragma once

#include <sys/types.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// The freedesktop.org trash. A file goes to the home trash ($XDG_DATA_HOME/Trash) when it lies
// on that volume, else to the trash at the top of its own volume: $topdir/.Trash/$uid when
// .Trash is a real sticky folder, else $topdir/.Trash-$uid. Its .trashinfo is made first, under a
// name no other file has taken; the file is then renamed into the trash, never copied, so that
// it is either in the trash or still in place.
class Trash {
  public:
    // Moves the entry `name` (a file or a link, never a folder) of the open folder `folderFd`;
    // once moved, `trashedAs` is its path in the trash's files/ folder.
    Removal move(int folderFd, const std::string& name);

  private:
    // The files/ and info/ folders of a trash, and the volume it lies on.
    struct Folders {
        UniqueFd files;
        UniqueFd info;
        dev_t volume = 0;
        std::string filesPath;  // where files/ lies, to tell where a file went
    };
    static Folders open(UniqueFd trash);
    // The home trash under the data folder `data`, or nullptr when it cannot be used.
    const Folders* home(const std::string& data);
    static Removal moveInto(const Folders& trash, int folderFd, const std::string& name,
                            const std::string& pathInInfo);

    Folders home_;
};

// `path` as the Path= line of a .trashinfo writes it: every byte but letters, digits, "-_.~/"
// as %XX.
std::string percentEncoded(const std::string& path);

}  // namespace vidor::platform::linux_
