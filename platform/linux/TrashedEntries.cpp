#include "platform/linux/TrashedEntries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

constexpr const char* kInfoSuffix = ".trashinfo";
constexpr std::size_t kInfoLimit = 1 << 16;

// An item of a trash: the trash's folder and the item's name in its files/ folder.
struct Item {
    std::string trash;
    std::string name;
    std::string files() const { return trash + "/files"; }
    std::string info() const { return trash + "/info"; }
};

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::optional<Item> itemOf(const std::string& trashedAs) {
    const std::string files = parentOf(trashedAs);
    Item item{parentOf(files), baseOf(trashedAs)};
    if (trashedAs.empty() || trashedAs[0] != '/' || baseOf(files) != "files" || item.name.empty() ||
        item.name == "." || item.name == "..") {
        return std::nullopt;
    }
    return item;
}

std::string percentDecoded(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string hex = text.substr(i + 1, 2);
            char* end = nullptr;
            const long byte = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) {
                plain += static_cast<char>(byte);
                i += 2;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

// The value of `key` in the text of a .trashinfo, or nothing.
std::optional<std::string> infoValue(const std::string& text, const std::string& key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (text.compare(at, key.size() + 1, key + "=") == 0) {
            return text.substr(at + key.size() + 1, end - at - key.size() - 1);
        }
        at = end + 1;
    }
    return std::nullopt;
}

// The folder on whose volume a volume's own trash lies ($topdir/.Trash-$uid, $topdir/.Trash/$uid).
std::string topOf(const std::string& trash) {
    const std::string parent = parentOf(trash);
    return baseOf(parent) == ".Trash" ? parentOf(parent) : parent;
}

std::optional<std::int64_t> localDate(const std::string& text) {
    std::tm date{};
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d", &date.tm_year, &date.tm_mon,
                    &date.tm_mday, &date.tm_hour, &date.tm_min, &date.tm_sec) != 6) {
        return std::nullopt;
    }
    date.tm_year -= 1900;
    date.tm_mon -= 1;
    date.tm_isdst = -1;
    const std::time_t time = std::mktime(&date);
    if (time == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<std::int64_t>(time);
}

// What the .trashinfo of `item` says: the file's original path and when it was trashed.
struct Info {
    std::string path;
    std::int64_t deleted = 0;
};
std::optional<Info> readInfo(const Item& item) {
    const std::string file = item.info() + "/" + item.name + kInfoSuffix;
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string text(kInfoLimit, '\0');
    const ssize_t got = ::read(fd.get(), text.data(), text.size());
    if (got <= 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(got));
    const auto path = infoValue(text, "Path");
    const auto date = infoValue(text, "DeletionDate");
    const auto deleted = date ? localDate(*date) : std::nullopt;
    if (!path || path->empty() || !deleted) return std::nullopt;
    std::string original = percentDecoded(*path);
    if (original[0] != '/') {
        const std::string top = topOf(item.trash);
        original = (top == "/" ? "" : top) + "/" + original;
    }
    return Info{original, *deleted};
}

// The rights "mode:owner:group" of each folder, in order.
struct Rights {
    mode_t mode = 0700;
    uid_t owner = 0;
    gid_t group = 0;
    bool known = false;
};
std::vector<Rights> parseRights(const std::string& text) {
    std::vector<Rights> all;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('/', at);
        if (end == std::string::npos) end = text.size();
        unsigned mode = 0, owner = 0, group = 0;
        Rights rights;
        if (std::sscanf(text.substr(at, end - at).c_str(), "%o:%u:%u", &mode, &owner, &group) ==
            3) {
            rights = {static_cast<mode_t>(mode & 07777), owner, group, true};
        }
        all.push_back(rights);
        at = end + 1;
    }
    return all;
}

// Enters the folder `name` of `parent`, on `volume`, never through a link; when it is missing,
// makes it with `rights` (closed to others until they are set). -1 with `error` otherwise.
UniqueFd enter(int parent, const std::string& name, dev_t volume, const Rights& rights,
               std::string& error) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    UniqueFd fd(::openat(parent, name.c_str(), flags));
    if (!fd && errno == ENOENT) {
        if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) {
            error = name + " : " + std::strerror(errno);
            return {};
        }
        fd = UniqueFd(::openat(parent, name.c_str(), flags));
        // Root makes it again for the user it was of; anyone else keeps it.
        if (fd && rights.known && ::geteuid() == 0) ::fchown(fd.get(), rights.owner, rights.group);
        if (fd) ::fchmod(fd.get(), rights.known ? rights.mode : 0700);
    }
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) {
        error = name + " : " + std::strerror(errno == ELOOP ? ENOTDIR : errno);
        return {};
    }
    if (st.st_dev != volume) {
        error = name + " : un autre volume a pris la place du dossier";
        return {};
    }
    return fd;
}

// Renames without ever replacing anything; 0, or the error code.
int renameNoReplace(int fromFd, const std::string& from, int toFd, const std::string& to) {
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without it: a new link fails when the name is taken, then the old goes.
    if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) != 0) return errno;
    return ::unlinkat(fromFd, from.c_str(), 0) == 0 ? 0 : errno;
}

}  // namespace

Restoral TrashedEntries::putBack(const std::string& trashedAs, const std::string& path,
                                 const std::string& folderRights) {
    const auto item = itemOf(trashedAs);
    const std::vector<std::string> names = namesOf(path);
    if (!item || names.empty()) return {false, false, "nom inattendu : " + trashedAs};
    const std::string drive = files_.nativePath(path.substr(0, 2) + "\\");
    UniqueFd folder(::open(drive.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (drive.empty() || !folder || ::fstat(folder.get(), &st) != 0) {
        return {false, false, "unité introuvable : " + path.substr(0, 2)};
    }
    const std::vector<Rights> rights = parseRights(folderRights);
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        std::string error;
        folder = enter(folder.get(), names[i], st.st_dev, i < rights.size() ? rights[i] : Rights{},
                       error);
        if (!folder) return {false, false, error};
    }
    UniqueFd files(::open(item->files().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    UniqueFd info(::open(item->info().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!files || !info) return {false, false, item->trash + " : " + std::strerror(errno)};
    const int code = renameNoReplace(files.get(), item->name, folder.get(), names.back());
    if (code == EEXIST) return {false, true, std::strerror(code)};
    if (code != 0) return {false, false, std::strerror(code)};
    ::unlinkat(info.get(), (item->name + kInfoSuffix).c_str(), 0);
    return {true, false, {}};
}

std::string TrashedEntries::folderRights(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('\\') + 1);
    if (folder == lastFolder_) return lastRights_;
    std::string native = files_.nativePath(folder.substr(0, 2) + "\\");
    std::string rights;
    for (const std::string& name : namesOf(folder)) {
        native += (native.ends_with('/') ? "" : "/") + name;
        struct stat st {};
        if (::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
        char one[64];
        std::snprintf(one, sizeof one, "%s%o:%u:%u", rights.empty() ? "" : "/",
                      static_cast<unsigned>(st.st_mode & 07777), static_cast<unsigned>(st.st_uid),
                      static_cast<unsigned>(st.st_gid));
        rights += one;
    }
    lastFolder_ = folder;
    lastRights_ = rights;
    return rights;
}

std::optional<TrashedItem> TrashedEntries::find(const std::string& trashedAs,
                                                const std::string& path) {
    const auto item = itemOf(trashedAs);
    const auto info = item ? readInfo(*item) : std::nullopt;
    if (!info || info->path != canonical(path)) return std::nullopt;
    struct stat st {};
    if (::lstat(trashedAs.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    return TrashedItem{static_cast<std::uint64_t>(st.st_size), info->deleted};
}

Removal TrashedEntries::empty(const std::string& trashedAs) {
    const auto item = itemOf(trashedAs);
    if (!item) return Removal::failed("nom de corbeille inattendu : " + trashedAs);
    UniqueFd files(::open(item->files().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    UniqueFd info(::open(item->info().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!files || !info ||
        ::fstatat(files.get(), item->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return Removal::failed(std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode)) return Removal::failed(std::strerror(EISDIR));
    if (::unlinkat(files.get(), item->name.c_str(), 0) != 0) {
        return Removal::failed(std::strerror(errno));
    }
    ::unlinkat(info.get(), (item->name + kInfoSuffix).c_str(), 0);
    return {true, {}, {}, static_cast<std::uint64_t>(st.st_size)};
}

std::string TrashedEntries::canonical(const std::string& path) const {
    // The trash records real paths: the drive's folder may be reached through a link.
    const std::string drive = files_.nativePath(path.substr(0, 2) + "\\");
    char real[PATH_MAX];
    std::string native = !drive.empty() && ::realpath(drive.c_str(), real) ? real : drive;
    for (const std::string& name : namesOf(path))
        native += (native.ends_with('/') ? "" : "/") + name;
    return native;
}

}  // namespace vidor::platform::linux_
