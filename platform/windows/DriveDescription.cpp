#include "platform/windows/DriveDescription.h"

#include "platform/Drives.h"

namespace vidor::platform::windows {

namespace {

// The words of the command line's help and of the manual page for the same types.
std::string kindOf(int type) {
    switch (type) {
        case kDriveRemovable:
            return "disque amovible";
        case kDriveFixed:
            return "disque dur";
        case kDriveRemote:
            return "lecteur réseau";
        case kDriveCdRom:
            return "lecteur de CD-ROM";
        case kDriveRamDisk:
            return "disque virtuel";
        default:
            return "lecteur";
    }
}

}  // namespace

std::string driveDescription(const std::string& name, int type) {
    std::string kind = kindOf(type);
    if (!name.empty()) return name + " (" + kind + ")";
    kind[0] = static_cast<char>(kind[0] - 'a' + 'A');  // every kind begins with an ASCII letter
    return kind;
}

}  // namespace vidor::platform::windows
