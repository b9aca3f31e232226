#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

struct TrashFolder;

// The freedesktop.org trash. A file goes to the home trash ($XDG_DATA_HOME/Trash) when it lies
// on that volume, else to the trash at the top of its own volume: $topdir/.Trash/$uid when
// .Trash is a real sticky folder, else $topdir/.Trash-$uid. Its .trashinfo is made first, under a
// name no other file has taken; the file is then renamed into the trash, never copied, so that
// it is either in the trash or still in place.
class Trash {
  public:
    // Moves the entry `name` (a file or a link, never a folder) of the open folder `folderFd`;
    // once moved, `trashedAs` is its path in the trash's files/ folder. A file another program
    // has open stays. When it could not be moved, the reason names the trash that refused it.
    // `folderPath`, when the caller has just read it, is the folder's path, else read here.
    Removal move(int folderFd, const std::string& name, const std::string& folderPath = {});

  private:
    // The files/ and info/ folders of a trash, kept open from one move to the next.
    struct Folders {
        UniqueFd files;
        UniqueFd info;
        dev_t volume = 0;
        std::string path;   // of the trash itself
        bool home = false;  // the home trash records whole paths
        std::string top;    // else the top of its volume, which the paths it records start from
        // The last number given to a name taken more than once, where the next search starts.
        std::unordered_map<std::string, std::uint64_t> lastNumbers;
    };
    // Opens the files/ and info/ folders of `trash`; null, with `refusal`, when they cannot be.
    static std::unique_ptr<Folders> open(const TrashFolder& trash, std::string& refusal);
    // The trash that takes the file at `path` on the volume `volume`, or null with `refusal`.
    Folders* trashFor(dev_t volume, const std::string& path, std::string& refusal);
    // Forgets a trash found unusable, so that the next move looks for it again.
    void forget(const Folders& trash);
    // Moves the file into `trash`; on failure `error` is the system's code (0 for none).
    static Removal moveInto(Folders& trash, int folderFd, const std::string& name,
                            const std::string& path, int& error);

    std::unique_ptr<Folders> home_;
    std::map<dev_t, std::unique_ptr<Folders>> volumes_;
};

// `path` as the Path= line of a .trashinfo writes it: every byte but letters, digits, "-_.~/"
// as %XX.
std::string percentEncoded(const std::string& path);

}  // namespace vidor::platform::linux_
