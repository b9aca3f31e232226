#include "platform/linux/VolumeFacts.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace vidor::platform::linux_ {

namespace {

bool removableBlockDevice(const std::string& device) {
    const std::string sys = "/sys/dev/block/" + device;
    char target[4096];
    std::string link;
    if (auto length = ::readlink(sys.c_str(), target, sizeof target - 1); length > 0) {
        link.assign(target, static_cast<std::size_t>(length));
    }
    if (link.find("/usb") != std::string::npos) return true;
    for (const std::string& flag : {sys + "/removable", sys + "/../removable"}) {
        std::ifstream in(flag);
        int value = 0;
        if (in >> value) return value == 1;
    }
    return false;
}

// The UUID of a mount's file system, from the links of /dev/disk/by-uuid to block devices.
std::string uuidOf(const Mount& mount) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path source = fs::weakly_canonical(mount.source, error);
    for (const auto& entry : fs::directory_iterator("/dev/disk/by-uuid", error)) {
        struct stat st {};
        if (::stat(entry.path().c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) continue;
        const std::string device =
            std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
        if (device == mount.device || fs::canonical(entry.path(), error) == source) {
            return entry.path().filename().string();
        }
    }
    return {};
}

}  // namespace

VolumeFacts systemVolumeFacts() {
    return {removableBlockDevice, uuidOf};
}

}  // namespace vidor::platform::linux_
