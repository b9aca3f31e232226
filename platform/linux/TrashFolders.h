#pragma once

#include <string>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// A folder of a trash, open, never reached through a link and the user's own; or, when it could
// not be had, why, in words that name it.
struct TrashFolder {
    UniqueFd fd;
    std::string path;
    std::string refusal;
};

// The data folder whose Trash takes the files of its volume: $XDG_DATA_HOME, else
// $HOME/.local/share; empty without either. As root, one inside a folder of another user is
// passed over (a Trash made there would be root's, and that user could trash nothing more) for
// the next one, and at last for the one under root's own home.
std::string dataHome();

// The home trash: the folder Trash of `data`, made with `data`'s missing folders.
TrashFolder homeTrash(const std::string& data);

// The trash at the top `top` of a volume: $top/.Trash/$uid when .Trash is a real sticky folder
// and that one can be had, else $top/.Trash-$uid.
TrashFolder volumeTrash(const std::string& top);

// The folder `name` of the trash folder `parent`, made (mode 0700) when missing; refused when it
// is a link, not a folder, or another user's.
TrashFolder privateFolder(const TrashFolder& parent, const std::string& name);

// The mount point that holds `path`: the longest mount point that is a parent of it.
std::string topDirectoryOf(const std::string& path);

// `folder` and `name` joined by a slash.
std::string joined(const std::string& folder, const std::string& name);

// Why the volume of `fd` took nothing more, after the system's `error`: for a full volume, whether
// it lacks room or inodes.
std::string spaceReason(int error, int fd);

}  // namespace vidor::platform::linux_
