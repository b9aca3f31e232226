#pragma once

#include <chrono>
#include <string>

namespace vidor::renovex {

// Waits until no other process of this user runs the file `program` (the very file, whatever
// path it was started by). True once none does, at once when the file does not exist; false
// when one still does at `deadline`.
bool waitUntilNotRunning(const std::string& program,
                         std::chrono::steady_clock::time_point deadline);

}  // namespace vidor::renovex
