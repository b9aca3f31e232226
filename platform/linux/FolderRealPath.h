#pragma once

#include <string>

namespace vidor::platform::linux_ {

// The path the system gives for the open folder `fd` now (ending in " (deleted)" once it is
// removed), or the empty text.
std::string folderPathOf(int fd);

// The path of the open folder `fd` without links, ".", ".." or doubled "/": the one the system
// gives for the descriptor, else `spelled` (the path it was opened by) resolved; either is taken
// only when it names that very folder (same device and inode). Empty when neither does.
std::string folderRealPath(int fd, const std::string& spelled);

}  // namespace vidor::platform::linux_
