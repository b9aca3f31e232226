#pragma once

#include <functional>
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

// Told of a folder of a purge that could not be opened, with its path and why.
using FolderFailed = std::function<void(const std::string& path, const platform::FolderError&)>;

// Deletes the folder `name` of `parent` with everything in it, files first, then each
// sub-folder in turn, then the folder itself; with `versCorbeille` each file goes to the recycle
// bin instead. The size of each file removed is added to `total`. Links met inside are removed
// as links; nothing outside the folder is ever touched, and no other volume is entered. The
// window system gets a turn before each entry. Whatever cannot be removed stays, and so does
// a file of the system when the file system that tells them is given. `report`, when given, is
// told of each file removed and of each that could not be (its path then starts with
// `system.path`); `folderFailed`, of each folder (the purged one or one inside) that could not be
// opened for a reason other than the silent kinds.
void RepertoireEfface(platform::Folder& parent, const std::string& name, bool versCorbeille,
                      platform::WindowSystem& windows, TailleTotale& total,
                      const SystemFiles& system = {}, RunReport* report = nullptr,
                      const FolderFailed& folderFailed = {});

}  // namespace vidor::census
