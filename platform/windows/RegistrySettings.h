#pragma once

#include "platform/SettingsStore.h"

namespace vidor::platform::windows {

// Settings in the registry, as REG_SZ values. The user hive is HKEY_CURRENT_USER; the machine
// hive is HKEY_LOCAL_MACHINE in its 32-bit view, where a 32-bit program of the same name kept
// its values on 64-bit Windows. A standard user cannot write there: the machine value is then
// kept under the same key of HKEY_CURRENT_USER, which is read first.
class RegistrySettings : public SettingsStore {
  public:
    std::optional<StoredValue> read(Hive hive, const std::string& keyPath,
                                    const std::string& name) override;
    std::int32_t write(Hive hive, const std::string& keyPath, const std::string& name,
                       const std::string& text) override;
};

}  // namespace vidor::platform::windows
