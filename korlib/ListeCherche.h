#pragma once

#include <string_view>

#include "platform/controls/ListBox.h"

namespace vidor::korlib {

// Index of the first line of `list` equal to `text`, letter case ignored, or -1. A text ending in
// "*" matches the first line that begins with the rest. The empty text is never found.
int ListeCherche(const platform::ListBox& list, std::string_view text);

}  // namespace vidor::korlib
