#pragma once

#include <QString>

#include "platform/SettingsStore.h"

namespace vidor::platform::linux_ {

// The settings store as INI files: key Software\Brenlo\X is the file Brenlo/X.conf under
// $XDG_CONFIG_HOME. Machine values are read, when that file lacks them, from the same file
// under each folder of $XDG_CONFIG_DIRS (/etc/xdg by default), so that an administrator can
// provide them for every user. Writes follow the rules of writeOwnFile().
class LinuxSettings : public SettingsStore {
  public:
    std::optional<StoredValue> read(Hive hive, const std::string& keyPath,
                                    const std::string& name) override;
    std::int32_t write(Hive hive, const std::string& keyPath, const std::string& name,
                       const std::string& text) override;

    // The INI file of `keyPath` under the configuration folder `base`.
    static QString fileOf(const QString& base, const std::string& keyPath);
    // The user's INI file of `keyPath`.
    static std::string userFile(const std::string& keyPath);
};

}  // namespace vidor::platform::linux_
