#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vidor::platform::windows {

// Moves the file `path` (the machine's own form, at most MAX_PATH long, as the shell wants)
// to the recycle bin, asking nothing and showing nothing. Done only when the shell moved it:
// a file in use, or any refusal, leaves it in place. The shell does not tell the file's name in
// the recycle bin.
Removal moveToRecycleBin(const std::wstring& path);

// True when files of the drive of type `type` (a kDrive value) go to a recycle bin; the shell
// deletes the files of the other drives for good when asked to recycle them.
bool hasRecycleBin(int type);

}  // namespace vidor::platform::windows
