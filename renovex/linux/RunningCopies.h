#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace vidor::renovex {

// A file as the system knows it, whatever path reaches it.
struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

// Waits until no other process of this user runs the file `program` (the very file, whatever
// path it was started by). True once none does; false when one still does at `deadline`.
bool waitUntilNotRunning(const FileId& program, std::chrono::steady_clock::time_point deadline);

}  // namespace vidor::renovex
