#pragma once

#include <string>
#include <string_view>

namespace vidor::platform {

// `text` as one line of a log or of standard error, whatever a name in it holds: a control
// character (a newline, a tab...) is written as "%" and its two hexadecimal digits, and so is "%"
// itself, so that each line reads back whole and a tab can separate its fields.
std::string oneLine(std::string_view text);

// The text that oneLine() was given: each "%" and two hexadecimal digits become that byte again.
std::string fromOneLine(std::string_view line);

}  // namespace vidor::platform
