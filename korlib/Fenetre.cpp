#include "korlib/Fenetre.h"

namespace vidor::korlib {

void FenetreCentre(platform::WindowSystem& windows, platform::Window& window) {
    window.move((windows.screenWidth() - window.width()) / 2,
                (windows.screenHeight() - window.height()) / 2);
}

std::string TitreVersion(platform::Process& process) {
    const platform::VersionNumbers version = process.version();
    return "(" + process.exeName() + " v" + std::to_string(version.major) + "." +
           std::to_string(version.minor) + "." + std::to_string(version.revision) + ")";
}

}  // namespace vidor::korlib
