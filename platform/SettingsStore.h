#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vidor::platform {

// The two hives of the settings store: the user's own, and the machine's.
enum class Hive { CurrentUser, LocalMachine };

// A stored value: a text, or a value of another type whose contents the program never reads.
struct StoredValue {
    bool isText = true;
    std::string text;
};

// Settings kept as named string values under keys such as Software\Brenlo\Vidor.
// Every call opens the key, does one read or one write, and closes it again.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The value `name` under `keyPath` (a final backslash is allowed), or nullopt when the key
    // or the value does not exist or cannot be read. Reading never creates anything.
    virtual std::optional<StoredValue> read(Hive hive, const std::string& keyPath,
                                            const std::string& name) = 0;

    // Stores `text` unchanged as a string value, creating the key when needed.
    // Returns 0 when written, a non-zero status otherwise.
    virtual std::int32_t write(Hive hive, const std::string& keyPath, const std::string& name,
                               const std::string& text) = 0;
};

}  // namespace vidor::platform
