#include "korlib/Unites.h"

namespace vidor::korlib {

bool UniteExiste(platform::Drives& drives, const std::string& text) {
    return !text.empty() && drives.rootListable(text.front());
}

std::string UniteType(platform::Drives& drives, const std::string& text) {
    const int type = drives.type(text.empty() ? '\0' : text.front());
    switch (type) {
        case platform::kDriveNoRoot:
            return "1 - disque non présent";
        case platform::kDriveRemovable:
            return "2 - lecteur de disquettes";
        case platform::kDriveFixed:
            return "3 - disque dur";
        case platform::kDriveRemote:
            return "4 - lecteur réseau";
        case platform::kDriveCdRom:
            return "5 - CD-Rom";
        case platform::kDriveRamDisk:
            return "6 - disque virtuel en mémoire";
        default:
            return "0 - disque de type inconnu (" + std::to_string(type) + ")";
    }
}

}  // namespace vidor::korlib
