#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidor::korlib {

// Index of the first item equal to `text`, letter case ignored, or -1. A text ending in "*"
// matches the first item that begins with the rest. The empty text is never found.
int ListeCherche(const std::vector<std::string>& items, std::string_view text);

}  // namespace vidor::korlib
