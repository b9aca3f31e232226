#pragma once

#include <optional>
#include <string>

#include "platform/Services.h"
#include "update/ProgramFiles.h"

namespace vidor::update {

// Asks for the update folder until the answer is "-", or a folder while the updater lies beside
// the program, and stores that answer ("-", or the folder ended by its separator). `stored` is
// the setting as read: the first default text, and whether the prompt tells how to keep it.
// Returns the answer stored, or nullopt when the user cancelled: nothing is stored then.
std::optional<std::string> askUpdateFolder(platform::Services& sys, const ProgramFiles& files,
                                           const std::string& stored);

}  // namespace vidor::update
