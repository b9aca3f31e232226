#pragma once

#include <string>

#include "platform/Drives.h"

namespace vidor::korlib {

// True when the root folder of the drive named by the first character of `text` can be listed.
bool UniteExiste(platform::Drives& drives, const std::string& text);

}  // namespace vidor::korlib
