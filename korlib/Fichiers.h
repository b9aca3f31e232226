#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vidor::korlib {

// True when `path` (with or without its final backslash) names a folder.
bool RepertoireExiste(platform::FileSystem& files, const std::string& path);

// True when `path` names something that is not a folder.
bool FichierExiste(platform::FileSystem& files, const std::string& path);

// Moves the file `path` to the recycle bin; done when the move is done.
platform::Removal FichierCorbeille(platform::FileSystem& files, const std::string& path);

}  // namespace vidor::korlib
