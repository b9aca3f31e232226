#pragma once

#include <string_view>

#include "platform/controls/ListBox.h"

namespace vidor::korlib {

// Index of the first line of `list` equal to `text`, letter case ignored, or -1. The empty text
// is never found. A "*" is a character like any other: the texts looked up come from the user
// (the command line, the settings), and are no patterns.
int ListeCherche(const platform::ListBox& list, std::string_view text);

}  // namespace vidor::korlib
