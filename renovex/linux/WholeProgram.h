#pragma once

#include <cstdint>

namespace vidor::renovex {

// True when the `size` bytes of the open file `fd` make a whole program for this machine: an
// ELF executable of the same class, byte order and processor as this one, every part of which
// its headers name lies within the file. A copy cut short, or anything but a program, fails.
bool wholeProgram(int fd, std::uint64_t size);

}  // namespace vidor::renovex
