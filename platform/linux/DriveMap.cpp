#include "platform/linux/DriveMap.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/Drives.h"
#include "platform/linux/IniText.h"
#include "platform/linux/LinuxSettings.h"
#include "platform/linux/OwnFile.h"

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
    std::string id, parent, options, field;
    if (!(in >> id >> parent >> mount.device >> mount.root >> mount.point >> options)) return false;
    while (in >> field && field != "-") {
    }
    if (!(in >> mount.fsType >> mount.source)) return false;
    mount.point = unescape(mount.point);
    mount.root = unescape(mount.root);
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
    return fromMountInfo(readMountInfo(), {removableBlockDevice, uuidOf},
                         LinuxSettings::userFile("Software\\Brenlo\\VidorLettres"));
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

DriveMap DriveMap::fromMountInfo(std::string_view mountInfo, const VolumeFacts& facts,
                                 const std::string& letterFile) {
    const std::vector<Mount> mounts = parseMountInfo(mountInfo);
    DriveMap map;
    for (const Mount& mount : mounts) {
        if (mount.point != "/") continue;
        // The last mount on "/" is the one in use; the root is C: whatever its type.
        int type = kNetworkTypes.contains(mount.fsType) ? kDriveRemote : kDriveFixed;
        map.drives_.assign(1, {'C', type, "/"});
    }
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
        map.drives_.push_back({letter, type, mount.point});
    }
    if (added) writeOwnFile(letterFile, book);
    std::sort(map.drives_.begin(), map.drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
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
