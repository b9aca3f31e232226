#include "platform/linux/TrashFolders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/linux/DriveMap.h"
#include "platform/linux/SystemReason.h"

namespace vidor::platform::linux_ {

namespace {

// True when each folder of `path` that exists is root's: root then makes nothing where another
// user could put a folder of their own, nor a folder of its own where another user keeps theirs.
bool rootsAlone(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/') continue;
        struct stat st {};
        if (::stat(path.substr(0, at).c_str(), &st) != 0) return errno == ENOENT;
        if (st.st_uid != 0) return false;
    }
    return true;
}

std::string rootsHome() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getpwuid_r(0, &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/') {
        return {};
    }
    return found->pw_dir;
}

TrashFolder refused(std::string path, const std::string& why) {
    TrashFolder folder;
    folder.refusal = "corbeille " + path + " refusée : " + why;
    folder.path = std::move(path);
    return folder;
}

TrashFolder unmade(std::string path, const std::string& why) {
    TrashFolder folder;
    folder.refusal = "corbeille " + path + " impossible à créer : " + why;
    folder.path = std::move(path);
    return folder;
}

}  // namespace

std::string dataHome() {
    std::vector<std::string> candidates;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') candidates.emplace_back(data);
    const char* home = std::getenv("HOME");
    // Without a home the trash is made nowhere, least of all under "/".
    if (home && home[0] == '/' && std::string_view(home) != "/") {
        candidates.push_back(std::string(home) + "/.local/share");
    }
    if (::geteuid() != 0) return candidates.empty() ? std::string() : candidates.front();
    for (const std::string& candidate : candidates) {
        if (rootsAlone(candidate)) return candidate;
    }
    const std::string own = rootsHome();
    if (candidates.empty() || own.empty() || own == "/") return {};
    return own + "/.local/share";
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string spaceReason(int error, int fd) {
    struct statvfs volume {};
    if (error == ENOSPC && ::fstatvfs(fd, &volume) == 0 && volume.f_files > 0 &&
        volume.f_favail == 0) {
        return "plus d'inode libre sur le volume, aucun fichier ne peut y être créé";
    }
    return reasonOf(error);
}

TrashFolder privateFolder(const TrashFolder& parent, const std::string& name) {
    std::string path = joined(parent.path, name);
    if (::mkdirat(parent.fd.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
        return unmade(std::move(path), spaceReason(errno, parent.fd.get()));
    }
    TrashFolder folder;
    folder.fd = UniqueFd(
        ::openat(parent.fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.fd) {
        const int error = errno;
        struct stat st {};
        if (::fstatat(parent.fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(st.st_mode)) return refused(std::move(path), "c'est un lien symbolique");
            if (!S_ISDIR(st.st_mode)) return refused(std::move(path), "ce n'est pas un dossier");
        }
        return refused(std::move(path), reasonOf(error));
    }
    struct stat st {};
    if (::fstat(folder.fd.get(), &st) != 0) return refused(std::move(path), reasonOf(errno));
    if (st.st_uid != ::geteuid()) {
        return refused(std::move(path), "elle appartient à un autre utilisateur");
    }
    folder.path = std::move(path);
    return folder;
}

TrashFolder homeTrash(const std::string& data) {
    // Make the data folder's missing parents the usual way, then the trash itself.
    for (std::size_t at = 1; at <= data.size(); ++at) {
        if (at == data.size() || data[at] == '/') ::mkdir(data.substr(0, at).c_str(), 0700);
    }
    TrashFolder folder;
    folder.path = data;
    folder.fd = UniqueFd(::open(data.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.fd) return unmade(joined(data, "Trash"), reasonOf(errno));
    return privateFolder(folder, "Trash");
}

std::string topDirectoryOf(const std::string& path) {
    std::string best = "/";
    for (const Mount& mount : parseMountInfo(readMountInfo())) {
        const std::string& point = mount.point;
        const bool holds = path == point ||
                           (path.starts_with(point) && (point == "/" || path[point.size()] == '/'));
        if (holds && point.size() > best.size()) best = point;
    }
    return best;
}

TrashFolder volumeTrash(const std::string& top) {
    TrashFolder volume;
    volume.path = top;
    volume.fd = UniqueFd(::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::string uid = std::to_string(::geteuid());
    if (!volume.fd) return unmade(joined(top, ".Trash-" + uid), reasonOf(errno));
    struct stat shared {};
    if (::fstatat(volume.fd.get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)) {
        TrashFolder sharedTrash;
        sharedTrash.path = joined(top, ".Trash");
        sharedTrash.fd = UniqueFd(
            ::openat(volume.fd.get(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sharedTrash.fd) {
            if (TrashFolder mine = privateFolder(sharedTrash, uid); mine.fd) return mine;
        }
    }
    return privateFolder(volume, ".Trash-" + uid);
}

}  // namespace vidor::platform::linux_
