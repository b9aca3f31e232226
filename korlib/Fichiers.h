#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vidor::korlib {

// Creates the folder `path` and every missing parent, outermost first. Spaces around the path
// are ignored; a bare drive is never created; a failure is passed over.
void RepertoireCree(platform::FileSystem& files, const std::string& path);

// True when `path` (with or without its final backslash) names a folder.
bool RepertoireExiste(platform::FileSystem& files, const std::string& path);

// True when `path` names something that is not a folder.
bool FichierExiste(platform::FileSystem& files, const std::string& path);

// Moves the file `path` to the recycle bin; done when the move is done.
platform::Removal FichierCorbeille(platform::FileSystem& files, const std::string& path);

}  // namespace vidor::korlib
