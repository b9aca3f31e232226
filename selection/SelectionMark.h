#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/ListBox.h"

namespace vidor::selection {

// The mark a selection list carries while one of its lines is selected.
inline constexpr const char* kMarkSelected = "OK";

// The click handling of the drive and extension lists: `list` gets its mark, "OK" while a line
// is selected and empty otherwise; "Recenser" is enabled exactly when both marks are set.
void updateMark(platform::ListBox& list, const platform::ListBox& drives,
                const platform::ListBox& extensions, platform::Button& bGo);

// The saved text of a list: the text of each line (or each selected line), each followed by a tab.
std::string savedText(const platform::ListBox& list, bool selectedOnly);

}  // namespace vidor::selection
