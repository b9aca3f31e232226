#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SettingsStore.h"

namespace vidor::korlib {

// Read in place of a stored value that is not a text.
inline constexpr const char* kNotTextValue =
    "La valeur du registre recherchée n'est pas de type STRING !";

// The program's settings in the store: the user's own under Software\Brenlo\<program name>,
// the machine's under Software\Brenlo\<application>.
class Registre {
  public:
    Registre(platform::SettingsStore& store, std::string exeName);

    // The value `name` of key Software\Brenlo\<application> (the program's name by default) in
    // `hive`: nullopt when absent, kNotTextValue when not a text, else the text as stored.
    std::optional<std::string> RegistreLit(
        const std::string& name, const std::optional<std::string>& application = std::nullopt,
        platform::Hive hive = platform::Hive::CurrentUser) const;

    // Stores `value` under the same key as RegistreLit; returns 0 when written.
    std::int32_t RegistreEcrit(const std::string& name, const std::string& value,
                               const std::optional<std::string>& application = std::nullopt,
                               platform::Hive hive = platform::Hive::CurrentUser) const;

    // Stores `value` under `keyPath` of `root`, the path used whole; returns 0 when written.
    std::int32_t RegistreEcritCle(platform::Hive root, const std::string& keyPath,
                                  const std::string& name, const std::string& value) const;

    // The program's own setting `name`; the empty text when absent.
    std::string ParametreLit(const std::string& name) const;
    // Stores the program's own setting `name`; a failure is not reported.
    void ParametreEcrit(const std::string& name, const std::string& value) const;

  private:
    std::string keyPath(const std::optional<std::string>& application) const;

    platform::SettingsStore& store_;
    std::string exeName_;
};

}  // namespace vidor::korlib
