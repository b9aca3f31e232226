#include "platform/linux/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <utility>

#include "platform/linux/DriveMap.h"
#include "platform/linux/FileInUse.h"
#include "platform/linux/SystemReason.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

constexpr std::size_t kNameMax = 255;
constexpr std::string_view kInfoSuffix = ".trashinfo";

// The user's data folder, or the empty text when there is no home to put it in: the trash is
// then made nowhere, least of all under "/".
std::string dataHome() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return data;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/' || std::string_view(home) == "/") return {};
    return std::string(home) + "/.local/share";
}

std::string folderPathOf(int fd) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) return {};
    return std::string(target, static_cast<std::size_t>(length));
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// Opens (creating it with mode 0700 when missing) the folder `name` of `parentFd`, refusing a
// link or anything that is not a folder of ours.
UniqueFd privateFolder(int parentFd, const char* name) {
    if (::mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST) return {};
    UniqueFd fd(::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || st.st_uid != ::geteuid()) return {};
    return fd;
}

UniqueFd homeTrash(const std::string& data) {
    // Create the data folder's missing parents the usual way, then the trash itself.
    for (std::size_t at = 1; at <= data.size(); ++at) {
        if (at == data.size() || data[at] == '/') ::mkdir(data.substr(0, at).c_str(), 0700);
    }
    UniqueFd dataFd(::open(data.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dataFd) return {};
    return privateFolder(dataFd.get(), "Trash");
}

// The mount point that holds `path`: the longest mount point that is a parent of it.
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

UniqueFd volumeTrash(const std::string& topDir) {
    UniqueFd top(::open(topDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top) return {};
    const std::string uid = std::to_string(::geteuid());
    struct stat shared {};
    if (::fstatat(top.get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)) {
        UniqueFd sharedFd(
            ::openat(top.get(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sharedFd) {
            if (UniqueFd mine = privateFolder(sharedFd.get(), uid.c_str())) return mine;
        }
    }
    return privateFolder(top.get(), (".Trash-" + uid).c_str());
}

// True when the folder `fd` is still in place (a removed folder has no links left).
bool inPlace(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_nlink > 0;
}

std::string deletionDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The n-th name tried in the trash for `name`: the name itself, then "stem.2.ext" and so on,
// short enough for its .trashinfo to be a valid file name: a long name loses the end of its stem,
// cut between two characters, and keeps its extension.
std::string candidate(const std::string& name, int n) {
    const std::size_t room = kNameMax - kInfoSuffix.size();
    if (n == 1 && name.size() <= room) return name;
    std::string stem = name;
    std::string extension;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && name.size() - dot < room / 2) {
        stem = name.substr(0, dot);
        extension = name.substr(dot);
    }
    if (n > 1) extension = "." + std::to_string(n) + extension;
    if (stem.size() + extension.size() > room) {
        std::size_t cut = room - extension.size();
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    return stem + extension;
}

bool writeInfo(int infoFd, const std::string& infoName, const std::string& pathInInfo) {
    UniqueFd info(::openat(infoFd, infoName.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!info) return false;
    const std::string text = "[Trash Info]\nPath=" + percentEncoded(pathInInfo) +
                             "\nDeletionDate=" + deletionDate() + "\n";
    bool written =
        ::write(info.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (!written) ::unlinkat(infoFd, infoName.c_str(), 0);
    return written;
}

// Renames without ever replacing an existing file.
int renameNoReplace(int fromFd, const char* from, int toFd, const char* to) {
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a short window remains between test and rename.
    struct stat st {};
    if (::fstatat(toFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(fromFd, from, toFd, to) == 0 ? 0 : errno;
}

Removal sized(Removal removal, const struct stat& st) {
    if (removal) removal.size = static_cast<std::uint64_t>(st.st_size);
    return removal;
}

}  // namespace

std::string percentEncoded(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : path) {
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                           byte == '.' || byte == '~' || byte == '/';
        if (plain) {
            text += static_cast<char>(byte);
        } else {
            text += '%';
            text += hex[byte >> 4];
            text += hex[byte & 15];
        }
    }
    return text;
}

Trash::Folders Trash::open(UniqueFd trash) {
    Folders folders;
    struct stat st {};
    if (!trash || ::fstat(trash.get(), &st) != 0) return folders;
    folders.files = privateFolder(trash.get(), "files");
    folders.info = privateFolder(trash.get(), "info");
    folders.volume = st.st_dev;
    if (folders.files) folders.filesPath = folderPathOf(folders.files.get());
    return folders;
}

const Trash::Folders* Trash::home(const std::string& data) {
    // Kept open from one move to the next; opened again if the trash was removed meanwhile.
    if (!home_.files || !inPlace(home_.files.get()) || !inPlace(home_.info.get())) {
        home_ = open(homeTrash(data));
    }
    return home_.files && home_.info ? &home_ : nullptr;
}

Removal Trash::moveInto(const Folders& trash, int folderFd, const std::string& name,
                        const std::string& pathInInfo) {
    for (int n = 1; n < 10000; ++n) {
        const std::string target = candidate(name, n);
        const std::string infoName = target + std::string(kInfoSuffix);
        if (!writeInfo(trash.info.get(), infoName, pathInInfo)) {
            if (errno == EEXIST) continue;
            return Removal::failed(reasonOf(errno));
        }
        const int error =
            renameNoReplace(folderFd, name.c_str(), trash.files.get(), target.c_str());
        if (error == 0) return {true, {}, joined(trash.filesPath, target), {}};
        ::unlinkat(trash.info.get(), infoName.c_str(), 0);
        if (error != EEXIST) return Removal::failed(reasonOf(error));
    }
    return Removal::failed("pas de nom libre dans la corbeille");
}

Removal Trash::move(int folderFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return Removal::failed(reasonOf(errno));
    }
    if (S_ISDIR(st.st_mode)) return Removal::failed(reasonOf(EISDIR));
    UniqueFd hold;  // till the file is in the trash
    if (std::string inUse = holdIfUnused(folderFd, name, st, hold); !inUse.empty()) {
        return Removal::failed(std::move(inUse));
    }
    const std::string folder = folderPathOf(folderFd);
    if (folder.empty()) return Removal::failed("chemin du dossier introuvable");
    const std::string path = joined(folder, name);
    const std::string data = dataHome();
    if (data.empty()) {
        static bool told = false;
        if (!std::exchange(told, true)) {
            std::fputs("Vidor : pas de corbeille sans dossier personnel (HOME n'est pas défini).\n",
                       stderr);
        }
        return Removal::failed("pas de corbeille sans dossier personnel");
    }
    const Folders* trash = home(data);
    if (trash && trash->volume == st.st_dev) {
        return sized(moveInto(*trash, folderFd, name, path), st);
    }
    // A file of the data folder's volume goes to the home trash or nowhere.
    struct stat dataSt {};
    if (!trash && (::stat(data.c_str(), &dataSt) != 0 || dataSt.st_dev == st.st_dev)) {
        return Removal::failed("corbeille inutilisable : " + data + "/Trash");
    }
    const std::string top = topDirectoryOf(path);
    const Folders own = open(volumeTrash(top));
    if (!own.files || !own.info || own.volume != st.st_dev) {
        return Removal::failed("corbeille du volume inutilisable : " + top);
    }
    // Paths in a volume's own trash are relative to its top, so that they hold wherever it is
    // mounted next time.
    return sized(moveInto(own, folderFd, name, path.substr(top == "/" ? 1 : top.size() + 1)), st);
}

}  // namespace vidor::platform::linux_
