#pragma once

#include <string_view>

#include "platform/controls/ListBox.h"

namespace vidor::korlib {

// How a text is looked up: as it is, or, when it ends in "*", as the beginning of a line.
enum class Recherche { Exacte, Prefixe };

// Index of the first line of `list` equal to `text`, letter case ignored, or -1. The empty text
// is never found. With Recherche::Prefixe, a text ending in "*" matches the first line that
// begins with the rest; the program's own lookups never ask for it, since the texts they look
// up come from the user (the command line, the settings) and a "*" there is no pattern.
int ListeCherche(const platform::ListBox& list, std::string_view text,
                 Recherche mode = Recherche::Exacte);

}  // namespace vidor::korlib
