#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// What a removal is told when another program has the file open.
inline constexpr const char* kFileInUse = "fichier en cours d'utilisation";

// Linux lets a file be removed while a program reads, writes, maps or runs it; the program then
// works on a file that no longer has a name. Like Windows, the program removes no such file.
//
// `holdIfUnused` looks at the regular file `name` of the open folder `folderFd`, which `st`
// describes (read without following a link). When another program has it open, it gives the
// reason not to remove it. Otherwise it gives the empty text and `hold` keeps the file: until
// `hold` is closed, a program that opens the file waits (so remove it, then close `hold`).
// Anything but a regular file is never in use here.
//
// The hold is a write lease, which the system grants only while no one else has the file open.
// Where it cannot be taken (a file of another user, a file system without leases, a file that
// cannot be read) the open files and mappings of every process under /proc are looked at
// instead, which sees only the processes this user may look into, and holds nothing.
std::string holdIfUnused(int folderFd, const std::string& name, const struct stat& st,
                         UniqueFd& hold);

// True when a process other than this one has the file (`device`, `inode`) open or mapped, as
// far as /proc shows.
bool openElsewhere(dev_t device, ino_t inode);

}  // namespace vidor::platform::linux_
