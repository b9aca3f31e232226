#include "korlib/Registre.h"

#include <utility>

namespace vidor::korlib {

Registre::Registre(platform::SettingsStore& store, std::string exeName)
    : store_(store), exeName_(std::move(exeName)) {}

std::string Registre::keyPath(const std::optional<std::string>& application) const {
    return "Software\\Brenlo\\" + application.value_or(exeName_);
}

std::optional<std::string> Registre::RegistreLit(const std::string& name,
                                                 const std::optional<std::string>& application,
                                                 platform::Hive hive) const {
    auto value = store_.read(hive, keyPath(application), name);
    if (!value) return std::nullopt;
    if (!value->isText) return std::string(kNotTextValue);
    return std::move(value->text);
}

std::int32_t Registre::RegistreEcrit(const std::string& name, const std::string& value,
                                     const std::optional<std::string>& application,
                                     platform::Hive hive) const {
    return store_.write(hive, keyPath(application), name, value);
}

std::int32_t Registre::RegistreEcritCle(platform::Hive root, const std::string& keyPath,
                                        const std::string& name, const std::string& value) const {
    return store_.write(root, keyPath, name, value);
}

std::string Registre::ParametreLit(const std::string& name) const {
    return RegistreLit(name).value_or("");
}

void Registre::ParametreEcrit(const std::string& name, const std::string& value) const {
    RegistreEcrit(name, value);
}

}  // namespace vidor::korlib
