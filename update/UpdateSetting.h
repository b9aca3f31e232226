#pragma once

#include <string>

#include "platform/Services.h"

namespace vidor::update {

// The machine-wide setting that names the update folder, shared by the maker's programs:
// empty when never given, "-" when the user declined the service, else the folder.
std::string readUpdateFolder(platform::Services& sys);

// Stores `value` as the update folder setting; a failure to write is passed over.
void storeUpdateFolder(platform::Services& sys, const std::string& value);

}  // namespace vidor::update
