#include "update/UpdateSetting.h"

#include "korlib/Registre.h"

namespace vidor::update {

namespace {

constexpr const char* kValue = "RépertoireMiseAJour";
constexpr const char* kApplication = "Brenlo";

korlib::Registre registreOf(platform::Services& sys) {
    return korlib::Registre(sys.settings, sys.process.exeName());
}

}  // namespace

std::string readUpdateFolder(platform::Services& sys) {
    const auto value =
        registreOf(sys).RegistreLit(kValue, kApplication, platform::Hive::LocalMachine);
    return value.value_or("");
}

void storeUpdateFolder(platform::Services& sys, const std::string& value) {
    registreOf(sys).RegistreEcrit(kValue, value, kApplication, platform::Hive::LocalMachine);
}

}  // namespace vidor::update
