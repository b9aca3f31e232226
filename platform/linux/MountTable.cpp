#include "platform/linux/MountTable.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vidor::platform::linux_ {

namespace {

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

}  // namespace vidor::platform::linux_
