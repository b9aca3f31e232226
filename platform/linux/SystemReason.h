#pragma once

#include <string>

namespace vidor::platform::linux_ {

// Why a file could not be handled, for the system's error code `error` (an errno value), in
// French words the user can act on; the system's own text for a code the program never meets.
std::string reasonOf(int error);

}  // namespace vidor::platform::linux_
