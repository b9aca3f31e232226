#include "platform/linux/DriveMap.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/Drives.h"

namespace vidor::platform::linux_ {

namespace {

const std::set<std::string, std::less<>> kNetworkTypes = {
    "nfs",        "nfs4",        "cifs",  "smb3",       "smbfs",          "sshfs",
    "fuse.sshfs", "9p",          "ceph",  "glusterfs",  "fuse.glusterfs", "afs",
    "davfs",      "fuse.davfs2", "ncpfs", "fuse.rclone"};
const std::set<std::string, std::less<>> kCdTypes = {"iso9660", "udf"};
const std::set<std::string, std::less<>> kRamTypes = {"tmpfs", "ramfs"};

// Mount points are written with octal escapes for spaces, tabs, newlines and backslashes.
std::string unescape(const std::string& field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
            text += static_cast<char>(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool parseMount(const std::string& line, Mount& mount) {
    std::istringstream in(line);
    std::string id, parent, root, options, field;
    if (!(in >> id >> parent >> mount.device >> root >> mount.point >> options)) return false;
    while (in >> field && field != "-") {
    }
    if (!(in >> mount.fsType >> mount.source)) return false;
    mount.point = unescape(mount.point);
    return true;
}

bool underSystemFolder(const std::string& point) {
    for (std::string_view system : {"/dev", "/proc", "/run", "/sys"}) {
        if (point == system || point.starts_with(std::string(system) + "/")) return true;
    }
    return false;
}

// The drive type of a mount, or 0 when the mount is no drive of its own.
int typeOf(const Mount& mount, const std::function<bool(const std::string&)>& removable) {
    if (kNetworkTypes.contains(mount.fsType)) return kDriveRemote;
    if (kRamTypes.contains(mount.fsType)) return underSystemFolder(mount.point) ? 0 : kDriveRamDisk;
    if (!mount.source.starts_with("/dev/")) return 0;  // proc, sysfs, cgroup, overlay...
    if (mount.fsType == "squashfs" || mount.fsType == "erofs") return 0;  // read-only images
    if (kCdTypes.contains(mount.fsType)) return kDriveCdRom;
    return removable(mount.device) ? kDriveRemovable : kDriveFixed;
}

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

}  // namespace

std::vector<Mount> parseMountInfo(std::string_view mountInfo) {
    std::vector<Mount> mounts;
    std::istringstream in{std::string(mountInfo)};
    std::string line;
    while (std::getline(in, line)) {
        Mount mount;
        if (parseMount(line, mount)) mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::string readMountInfo() {
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

DriveMap DriveMap::fromSystem() {
    if (const char* unites = std::getenv("VIDOR_UNITES")) return fromUnites(unites);
    return fromMountInfo(readMountInfo(), removableBlockDevice);
}

DriveMap DriveMap::fromUnites(std::string_view text) {
    DriveMap map;
    std::string entries(text);
    std::istringstream in(entries);
    std::string entry;
    while (std::getline(in, entry, ';')) {
        // L=T:path
        if (entry.size() < 5 || entry[1] != '=' || entry[3] != ':') continue;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0])));
        if (letter < 'A' || letter > 'Z' || !std::isdigit(static_cast<unsigned char>(entry[2])))
            continue;
        if (map.find(letter)) continue;
        map.drives_.push_back({letter, entry[2] - '0', entry.substr(4)});
    }
    std::sort(map.drives_.begin(), map.drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return map;
}

DriveMap DriveMap::fromMountInfo(std::string_view mountInfo,
                                 const std::function<bool(const std::string&)>& removable) {
    std::vector<Mount> mounts = parseMountInfo(mountInfo);
    std::stable_sort(mounts.begin(), mounts.end(),
                     [](const Mount& a, const Mount& b) { return a.point < b.point; });

    DriveMap map;
    std::set<std::string> devices;
    for (const Mount& mount : mounts) {
        if (mount.point != "/") continue;
        // The last mount on "/" is the one in use; the root is C: whatever its type.
        int type = kNetworkTypes.contains(mount.fsType) ? kDriveRemote : kDriveFixed;
        map.drives_.assign(1, {'C', type, "/"});
        devices = {mount.device};
    }
    char next = 'D';
    for (const Mount& mount : mounts) {
        if (mount.point == "/" || next > 'Z') continue;
        const int type = typeOf(mount, removable);
        if (type == 0 || !devices.insert(mount.device).second) continue;
        map.drives_.push_back({next++, type, mount.point});
    }
    return map;
}

const Drive* DriveMap::find(char letter) const {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& drive : drives_) {
        if (drive.letter == upper) return &drive;
    }
    return nullptr;
}

}  // namespace vidor::platform::linux_
