#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/SettingsStore.h"

namespace vidor::platform::linux_ {

// Values of the [General] section of an INI text, in the form Qt's settings files use: names
// with %XX escapes, texts with backslash escapes, between quotes when needed, "@" marking a
// value of another type. A value written by hand without quotes is a text, read exactly as
// written: "EXE,DLL" is one text, not a list.

// The value `name`, or nullopt when the text has none.
std::optional<StoredValue> iniValue(std::string_view text, const std::string& name);

// Every value of [General], with its name, in the order of the text.
std::vector<std::pair<std::string, StoredValue>> iniValues(std::string_view text);

// `text` with the value `name` set to `value`; every other line is kept as it was.
std::string withIniValue(std::string_view text, const std::string& name, const std::string& value);

}  // namespace vidor::platform::linux_
