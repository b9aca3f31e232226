#include "platform/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/ProgramPath.h"
#include "platform/linux/FolderRealPath.h"
#include "platform/linux/LinuxFolder.h"
#include "platform/linux/PendingFile.h"
#include "platform/linux/SystemReason.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

// `folder` followed by the names of the program's path `path`.
std::string joined(std::string folder, const std::string& path) {
    for (const std::string& name : programPathNames(path)) {
        if (folder.empty() || folder.back() != '/') folder += '/';
        folder += name;
    }
    return folder;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name that stays inside its folder.
bool plainName(const std::string& name) {
    return name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Why a file whose folder could not be reached cannot be removed.
std::string notFound(const FolderError& error) {
    return reasonOf(error.code != 0 ? error.code : ENOENT);
}

FileInfo infoOf(const struct stat& st) {
    return {S_ISDIR(st.st_mode), static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec)};
}

}  // namespace

std::vector<std::string> namesOf(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 2;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

LinuxFileSystem::LinuxFileSystem(const DriveMap& drives, std::size_t openLimit)
    : drives_(drives), registry_(std::make_shared<OpenFolders>(openLimit)) {}

std::string LinuxFileSystem::nativePath(const std::string& path) const {
    if (!isProgramPath(path)) return path;
    const Drive* drive = drives_.find(path[0]);
    return drive ? joined(drive->folder, path) : std::string();
}

void LinuxFileSystem::noteRoot(const Drive& drive, int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return;
    RealRoot& root = realRoots_[drive.letter];
    if (!root.path.empty() && root.device == st.st_dev && root.inode == st.st_ino) return;
    // Where the system cannot tell, the folder as the drive names it is the best guess left.
    std::string real = folderRealPath(fd, drive.folder);
    root = {st.st_dev, st.st_ino, real.empty() ? drive.folder : std::move(real)};
}

std::string LinuxFileSystem::realPath(const std::string& path) {
    if (!isProgramPath(path)) return path;
    const Drive* drive = drives_.find(path[0]);
    if (!drive) return {};
    if (!realRoots_.contains(drive->letter)) {
        FolderError error;
        if (auto root = openRoot(drive->folder, error)) noteRoot(*drive, root->descriptor());
    }
    const auto root = realRoots_.find(drive->letter);
    return joined(root != realRoots_.end() ? root->second.path : drive->folder, path);
}

std::shared_ptr<FolderNode> LinuxFileSystem::openRoot(const std::string& folder,
                                                      FolderError& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        error = folderError(fd < 0 ? errno : EIO);
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    return std::make_shared<FolderNode>(registry_, nullptr, std::string(), fd, st.st_dev);
}

LinuxFileSystem::Located LinuxFileSystem::locate(const std::string& path, FolderError& error) {
    if (!isProgramPath(path)) {
        // The machine's own paths (the self-update's) are taken as the user wrote them.
        auto folder = openRoot(parentOf(path), error);
        return {folder, folder ? baseOf(path) : std::string(), {}};
    }
    const Drive* drive = drives_.find(path[0]);
    if (!drive) {
        error = folderError(ENOENT);
        return {};
    }
    std::vector<std::string> names = programPathNames(path);
    for (const std::string& name : names) {
        if (!plainName(name)) {
            error = folderError(ENOENT);
            return {};
        }
    }
    auto folder = openRoot(drive->folder, error);
    if (folder) noteRoot(*drive, folder->descriptor());
    for (std::size_t i = 0; folder && i + 1 < names.size(); ++i) {
        folder = LinuxFolder::openChild(folder, names[i], error);
    }
    if (!folder) return {};
    return {folder, names.empty() ? std::string() : names.back(), {}};
}

std::unique_ptr<Folder> LinuxFileSystem::openFolder(const std::string& path, FolderError& error) {
    Located at = locate(path, error);
    if (!at.folder) return nullptr;
    auto folder = at.name.empty() ? at.folder : LinuxFolder::openChild(at.folder, at.name, error);
    if (!folder) return nullptr;
    return std::make_unique<LinuxFolder>(std::move(folder), trash_, &readAhead_);
}

std::optional<FileInfo> LinuxFileSystem::info(const std::string& path) {
    struct stat st {};
    if (!isProgramPath(path)) {
        if (::stat(path.c_str(), &st) != 0) return std::nullopt;
        return infoOf(st);
    }
    FolderError error;
    Located at = locate(path, error);
    if (!at.folder) return std::nullopt;
    const int fd = at.folder->descriptor();
    const int found = at.name.empty() ? ::fstat(fd, &st)
                                      : ::fstatat(fd, at.name.c_str(), &st, AT_SYMLINK_NOFOLLOW);
    if (found != 0) return std::nullopt;
    return infoOf(st);
}

LinuxFileSystem::Located LinuxFileSystem::locateToRemove(const std::string& path,
                                                         FolderError& error) {
    const std::size_t slash = path.rfind('\\');
    if (!isProgramPath(path) || slash == std::string::npos) return locate(path, error);
    const std::string folder = path.substr(0, slash + 1);
    std::string name = path.substr(slash + 1);
    if (last_.folder && folder == last_.path && !name.empty() && plainName(name)) {
        // Moved, removed, or put out of reach meanwhile, it is looked for again from the drive.
        const int fd = last_.folder->descriptor();
        if (fd >= 0 && folderPathOf(fd) == last_.realPath) {
            return {last_.folder, std::move(name), last_.realPath};
        }
    }
    Located at = locate(path, error);
    last_ = {};
    if (at.folder && !at.name.empty()) {
        at.folderPath = folderPathOf(at.folder->descriptor());
        if (!at.folderPath.empty()) last_ = {folder, at.folderPath, at.folder};
    }
    return at;
}

Removal LinuxFileSystem::deleteFile(const std::string& path) {
    FolderError located;
    Located at = locateToRemove(path, located);
    if (!at.folder || at.name.empty()) return Removal::failed(notFound(located));
    return LinuxFolder::removeEntry(at.folder->descriptor(), at.name);
}

Removal LinuxFileSystem::moveToTrash(const std::string& path) {
    FolderError error;
    Located at = locateToRemove(path, error);
    if (!at.folder || at.name.empty()) return Removal::failed(notFound(error));
    return trash_.move(at.folder->descriptor(), at.name, at.folderPath);
}

bool LinuxFileSystem::createFolder(const std::string& path) {
    FolderError error;
    Located at = locate(path, error);
    return at.folder && !at.name.empty() &&
           ::mkdirat(at.folder->descriptor(), at.name.c_str(), 0777) == 0;
}

bool LinuxFileSystem::copyFile(const std::string& from, const std::string& to, std::string& error) {
    UniqueFd in(::open(nativePath(from).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!in || ::fstat(in.get(), &st) != 0) {
        error = std::strerror(errno);
        return false;
    }
    const std::string target = nativePath(to);
    UniqueFd folder(::open(parentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) {
        error = std::strerror(errno);
        return false;
    }
    // A copy cut short (a full disk, a lost share) must never take the place of the file.
    PendingFile copy(folder.get(), baseOf(target));
    std::uint64_t copied = 0;
    int code = copy.error();
    if (code == 0) code = copy.copyFrom(in.get(), copied);
    if (code == 0) code = copy.seal(st.st_mode & 0777, nullptr);
    if (code == 0) code = copy.putInPlace();
    if (code != 0) error = std::strerror(code);
    return code == 0;
}

void LinuxFileSystem::systemFilesAhead() {
    packages_.refresh();
}

// Packages name their files by real paths (or by paths whose real folders were added to the
// table): the walk's names are real folders of the drive, opened without following links, so
// the drive's real folder followed by them is the file's real path, however the drive is spelled.
bool LinuxFileSystem::systemFile(const std::string& path) {
    const std::string real = realPath(path);
    return !real.empty() && packages_.owns(real);
}

}  // namespace vidor::platform::linux_
