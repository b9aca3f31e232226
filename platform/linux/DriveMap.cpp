#include "platform/linux/DriveMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/linux/LinuxSettings.h"

namespace vidor::platform::linux_ {

DriveMap::DriveMap(std::vector<Drive> drives) : drives_(std::move(drives)) {
    std::sort(drives_.begin(), drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

DriveMap DriveMap::fromSystem() {
    if (const char* unites = std::getenv("VIDOR_UNITES")) return fromUnites(unites);
    return fromMountInfo(readMountInfo(), systemVolumeFacts(),
                         LinuxSettings::userFile("Software\\Brenlo\\VidorLettres"));
}

const Drive* DriveMap::find(char letter) const {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& drive : drives_) {
        if (drive.letter == upper) return &drive;
    }
    return nullptr;
}

}  // namespace vidor::platform::linux_
