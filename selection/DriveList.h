#pragma once

#include <string>

#include "platform/Drives.h"
#include "platform/controls/ListBox.h"

namespace vidor::selection {

// Fills the drive list with the letters A to Z whose root can be listed and whose drive is
// removable, a hard disk or a network drive, each as the letter and a colon.
void fillDrives(platform::ListBox& lUnites, platform::Drives& drives);

// Selects the drives named in the saved choice (tab-separated items); an empty choice selects
// every drive. Returns true when the saved choice was not empty. Nothing is deselected.
bool restoreDrives(platform::ListBox& lUnites, const std::string& saved);

// "Local": selects exactly the drives that are hard disks, asking each drive's type again.
void selectLocalDisks(platform::ListBox& lUnites, platform::Drives& drives);

}  // namespace vidor::selection
