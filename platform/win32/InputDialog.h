#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vidor::platform::win32 {

// A modal prompt owned by `owner`: the prompt's text, wrapped to as many lines as it needs, an
// edit field holding `defaultText`, "OK" and "Annuler". Returns the text typed, or nothing when
// cancelled or when no dialog could be shown.
std::optional<std::string> askText(HWND owner, const std::string& prompt, const std::string& title,
                                   const std::string& defaultText);

}  // namespace vidor::platform::win32
