#pragma once

#include <string>

namespace vidor::renovex {

// Tells the user why the update failed: always on standard error, and in a message box when a
// display can be opened. Returns once the user has closed the box.
void tellUser(const std::string& text);

}  // namespace vidor::renovex
