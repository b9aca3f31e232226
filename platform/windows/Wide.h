#pragma once

#include <string>
#include <string_view>

namespace vidor::platform::windows {

// The program's texts are UTF-8; the system's are UTF-16. Invalid sequences become U+FFFD.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

// The system's description of an error code (GetLastError, or a converted NTSTATUS), without
// the final line break.
std::string systemMessage(unsigned long code);

// A path of the machine's own form, prefixed so that it may be longer than MAX_PATH:
// "C:\a" becomes "\\?\C:\a", "\\server\share" becomes "\\?\UNC\server\share"; other texts
// (relative paths, paths already prefixed) are only converted.
std::wstring longPath(std::string_view path);

}  // namespace vidor::platform::windows
