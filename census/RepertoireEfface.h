#pragma once

#include <string>

#include "census/RunReport.h"
#include "census/TailleTotale.h"
#include "platform/FileSystem.h"
#include "platform/WindowSystem.h"

namespace vidor::census {

// The file system asked about each file of a purge, and the purged folder's path (with its final
// backslash) the files' paths start with.
struct SystemFiles {
    platform::FileSystem* files = nullptr;
    std::string path;
};

// Deletes the folder `name` of `parent` with everything in it, files first, then each
// sub-folder in turn, then the folder itself; with `versCorbeille` each file goes to the recycle
// bin instead. The size of each file removed is added to `total`. Links met inside are removed
// as links; nothing outside the folder is ever touched, and no other volume is entered. The
// window system gets a turn before each entry. Whatever cannot be removed stays, and so does
// a file of the system when the file system that tells them is given. `report`, when given, is
// told of each file removed and of each that could not be (its path then starts with
// `system.path`).
void RepertoireEfface(platform::Folder& parent, const std::string& name, bool versCorbeille,
                      platform::WindowSystem& windows, TailleTotale& total,
                      const SystemFiles& system = {}, RunReport* report = nullptr);

}  // namespace vidor::census
