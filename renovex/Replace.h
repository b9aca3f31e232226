#pragma once

#include <chrono>
#include <string>

namespace vidor::renovex {

// Replaces the file `program` by a copy of `newVersion` without ever leaving a half-written
// program: the copy is written to a temporary file in the program's folder, given the mode of
// `newVersion` (executable by its owner in any case), flushed to disk, and renamed over the
// program in one step. A rename refused because the program is busy is tried again until
// `deadline`. Returns true when done; otherwise `error` says why, in French, the program file
// is untouched and no temporary file is left.
bool replaceProgram(const std::string& newVersion, const std::string& program,
                    std::chrono::steady_clock::time_point deadline, std::string& error);

}  // namespace vidor::renovex
