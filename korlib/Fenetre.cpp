#include "korlib/Fenetre.h"

#include "platform/Version.h"

namespace vidor::korlib {

void FenetreCentre(platform::WindowSystem& windows, platform::Window& window) {
    window.move((windows.screenWidth() - window.width()) / 2,
                (windows.screenHeight() - window.height()) / 2);
}

std::string TitreVersion(platform::Process& process) {
    return "(" + process.exeName() + " v" + std::to_string(platform::kVersionMajor) + "." +
           std::to_string(platform::kVersionMinor) + "." +
           std::to_string(platform::kVersionRevision) + ")";
}

}  // namespace vidor::korlib
