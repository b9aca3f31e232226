#pragma once

#include <cstdint>
#include <string>

namespace vidor::korlib {

// A byte total as the user reads it: its digits with an apostrophe before every group of three
// counted from the right, and "-" in front when negative (-1234 gives -1'234).
std::string ValeurFormate(std::int64_t total);

}  // namespace vidor::korlib
