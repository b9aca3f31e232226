#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidor::platform {

// Whether `path` is in the program's form: a drive letter and a colon, then the names below the
// drive's root, separated by backslashes ("C:\a\b"). "C:", as a drive item is written, names the
// root as "C:\" does. Any other text ("\\server\share", "/home/a") is a path of the machine's
// own form.
bool isProgramPath(std::string_view path);

// The names below the drive's root of a path in the program's form, in order; the empty names of
// a doubled or final backslash are left out.
std::vector<std::string> programPathNames(std::string_view path);

}  // namespace vidor::platform
