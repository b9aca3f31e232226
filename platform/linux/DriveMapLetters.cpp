// Which volumes of the mount table take a drive letter, and the letters they keep from one run to
// the next in the letter file.

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/Drives.h"
#include "platform/linux/DriveMap.h"
#include "platform/linux/IniText.h"
#include "platform/linux/OwnFile.h"

namespace vidor::platform::linux_ {

namespace {

const std::set<std::string, std::less<>> kNetworkTypes = {
    "nfs",        "nfs4",        "cifs",  "smb3",       "smbfs",          "sshfs",
    "fuse.sshfs", "9p",          "ceph",  "glusterfs",  "fuse.glusterfs", "afs",
    "davfs",      "fuse.davfs2", "ncpfs", "fuse.rclone"};
const std::set<std::string, std::less<>> kCdTypes = {"iso9660", "udf"};
const std::set<std::string, std::less<>> kRamTypes = {"tmpfs", "ramfs"};

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

// C:, the root file system: the last mount on "/" is the one in use, whatever its type.
std::vector<Drive> rootDrive(const std::vector<Mount>& mounts) {
    std::vector<Drive> drives;
    for (const Mount& mount : mounts) {
        if (mount.point != "/") continue;
        const int type = kNetworkTypes.contains(mount.fsType) ? kDriveRemote : kDriveFixed;
        drives.assign(1, {'C', type, "/"});
    }
    return drives;
}

// The volumes that take a letter, but for the root, in the order of their mount points.
std::vector<std::pair<Mount, int>> lettered(std::vector<Mount> mounts, const VolumeFacts& facts) {
    // A later mount on the same point hides the earlier ones.
    std::map<std::string, Mount> shown;
    for (Mount& mount : mounts) shown[mount.point] = std::move(mount);
    // The root's device is taken before the mounts move out of the map: a folder of the root
    // bound elsewhere is part of C:.
    std::set<std::string> devices;
    if (auto root = shown.find("/"); root != shown.end()) devices.insert(root->second.device);
    std::vector<Mount> visible;
    for (auto& [point, mount] : shown) visible.push_back(std::move(mount));
    // A volume mounted whole stands for it rather than a folder of it bound elsewhere.
    std::stable_sort(visible.begin(), visible.end(), [](const Mount& a, const Mount& b) {
        return (a.root != "/") < (b.root != "/");
    });
    std::vector<std::pair<Mount, int>> volumes;
    for (Mount& mount : visible) {
        if (mount.point == "/") continue;
        const int type = typeOf(mount, facts.removable);
        if (type != 0 && devices.insert(mount.device).second) volumes.emplace_back(mount, type);
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const auto& a, const auto& b) { return a.first.point < b.first.point; });
    return volumes;
}

// A volume's name in the letter file. Sub-volumes of one file system (btrfs) share its UUID:
// the folder of the file system mounted there tells them apart.
std::string volumeKey(const Mount& mount, const VolumeFacts& facts) {
    const std::string uuid = facts.uuid(mount);
    if (uuid.empty()) return "source:" + mount.source + " " + mount.point;
    return "uuid:" + uuid + (mount.root == "/" ? "" : " " + mount.root);
}

// The letters of the letter file by volume; a letter or a volume named twice counts once.
std::map<std::string, char> recordedLetters(const std::string& text, std::set<char>& taken) {
    std::map<std::string, char> letters;
    for (const auto& [name, value] : iniValues(text)) {
        const char letter = name.size() == 1 ? static_cast<char>(std::toupper(name[0])) : 0;
        if (letter < 'D' || letter > 'Z' || !value.isText || !taken.insert(letter).second) continue;
        letters.emplace(value.text, letter);
    }
    return letters;
}

}  // namespace

DriveMap DriveMap::fromMountInfo(std::string_view mountInfo, const VolumeFacts& facts,
                                 const std::string& letterFile) {
    const std::vector<Mount> mounts = parseMountInfo(mountInfo);
    std::vector<Drive> drives = rootDrive(mounts);
    std::string book = readOwnFile(letterFile).value_or("");
    std::set<char> taken;
    const std::map<std::string, char> recorded = recordedLetters(book, taken);
    bool added = false;
    char next = 'D';
    std::set<char> used;
    for (const auto& [mount, type] : lettered(mounts, facts)) {
        const std::string key = volumeKey(mount, facts);
        char letter = recorded.contains(key) ? recorded.at(key) : 0;
        if (!letter || !used.insert(letter).second) {
            while (next <= 'Z' && taken.contains(next)) ++next;
            if (next > 'Z') continue;  // every letter is some volume's
            letter = next;
            taken.insert(letter);
            used.insert(letter);
            book = withIniValue(book, std::string(1, letter), key);
            added = true;
        }
        drives.push_back({letter, type, mount.point});
    }
    if (added) writeOwnFile(letterFile, book);
    return DriveMap(std::move(drives));
}

}  // namespace vidor::platform::linux_
