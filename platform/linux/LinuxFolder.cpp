#include "platform/linux/LinuxFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/linux/Trash.h"

namespace vidor::platform::linux_ {

namespace {

constexpr std::size_t kListingBuffer = 32 * 1024;

std::string nameOf(std::string_view name) {
    return std::string(name);
}

// The kind of an entry from its listing; only a file system that does not tell costs a call.
EntryKind kindOf(FolderNode& folder, const char* name, unsigned char type) {
    switch (type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::File;  // a link, a device or a pipe is a file to the program
    }
    struct stat st {};
    if (::fstatat(folder.descriptor(), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Unknown;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::File;
}

// True when the open folder `fd` lies on `volume` and is not the root of another mount.
bool sameVolume(int fd, dev_t volume) {
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO, &stx) != 0) return false;
    if ((stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
        (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT)) {
        return false;
    }
    return makedev(stx.stx_dev_major, stx.stx_dev_minor) == volume;
}

}  // namespace

FolderError folderError(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EXDEV:
            return {true, {}};
        case EIO:
            return {false, "Erreur d'entrée/sortie"};
        case EMFILE:
        case ENFILE:
            return {false, "Trop de fichiers ouverts"};
        case ENOMEM:
            return {false, "Mémoire insuffisante"};
        default:
            return {false, std::strerror(error)};
    }
}

LinuxFolder::LinuxFolder(std::shared_ptr<FolderNode> node, Trash& trash)
    : node_(std::move(node)), trash_(trash) {}

bool LinuxFolder::fill() {
    const int fd = node_->descriptor();
    if (fd < 0) return false;
    if (buffer_.empty()) buffer_.resize(kListingBuffer);
    const long read = ::syscall(SYS_getdents64, fd, buffer_.data(), buffer_.size());
    if (read <= 0) return false;  // the end, or a failure that ends the listing
    offset_ = 0;
    size_ = static_cast<std::size_t>(read);
    return true;
}

bool LinuxFolder::next(FolderEntry& entry) {
    if (done_) return false;
    node_->setListing(true);
    for (;;) {
        if (offset_ >= size_ && !fill()) break;
        auto* dirent = reinterpret_cast<struct dirent64*>(buffer_.data() + offset_);
        offset_ += dirent->d_reclen;
        const char* name = dirent->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        // A name holding a backslash cannot be written in the program's paths.
        if (std::strchr(name, '\\')) continue;
        entry.name.assign(name);
        entry.kind = kindOf(*node_, name, dirent->d_type);
        return true;
    }
    done_ = true;
    node_->setListing(false);
    std::vector<char>().swap(buffer_);
    return false;
}

std::shared_ptr<FolderNode> LinuxFolder::openChild(const std::shared_ptr<FolderNode>& parent,
                                                   std::string_view name, FolderError& error) {
    const std::string child = nameOf(name);
    if (child.empty() || child == "." || child == ".." || child.find('/') != std::string::npos) {
        error = folderError(ENOENT);
        return nullptr;
    }
    const int parentFd = parent->descriptor();
    const int fd = parentFd < 0 ? -1
                                : ::openat(parentFd, child.c_str(),
                                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = folderError(parentFd < 0 ? ENOENT : errno);
        return nullptr;
    }
    if (!sameVolume(fd, parent->volume())) {
        ::close(fd);
        error = folderError(EXDEV);
        return nullptr;
    }
    return std::make_shared<FolderNode>(parent->registry(), parent, child, fd, parent->volume());
}

std::unique_ptr<Folder> LinuxFolder::openFolder(std::string_view name, FolderError& error) {
    auto node = openChild(node_, name, error);
    if (!node) return nullptr;
    return std::make_unique<LinuxFolder>(std::move(node), trash_);
}

std::optional<std::uint64_t> LinuxFolder::fileSize(std::string_view name) {
    struct stat st {};
    const int fd = node_->descriptor();
    if (fd < 0 || ::fstatat(fd, nameOf(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

bool LinuxFolder::setNormal(std::string_view) {
    // A read-only file can be removed from a folder that lets us write: nothing to change.
    return true;
}

bool LinuxFolder::deleteFile(std::string_view name) {
    const int fd = node_->descriptor();
    return fd >= 0 && ::unlinkat(fd, nameOf(name).c_str(), 0) == 0;
}

bool LinuxFolder::moveToTrash(std::string_view name) {
    const int fd = node_->descriptor();
    return fd >= 0 && trash_.move(fd, nameOf(name));
}

bool LinuxFolder::removeFolder(std::string_view name) {
    const int fd = node_->descriptor();
    return fd >= 0 && ::unlinkat(fd, nameOf(name).c_str(), AT_REMOVEDIR) == 0;
}

bool LinuxFolder::createFolderLike(std::string_view name, Folder& model) {
    auto* like = dynamic_cast<LinuxFolder*>(&model);
    const int fd = node_->descriptor();
    const int modelFd = like ? like->node_->descriptor() : -1;
    struct stat st {};
    if (fd < 0 || modelFd < 0 || ::fstat(modelFd, &st) != 0) return false;
    const std::string child = nameOf(name);
    if (::mkdirat(fd, child.c_str(), 0700) != 0) return false;
    // Give the new folder the old one's owner and rights through its own descriptor, so that
    // nothing planted meanwhile under that name is touched.
    const int created =
        ::openat(fd, child.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (created < 0) return false;
    if (::geteuid() == 0) (void)::fchown(created, st.st_uid, st.st_gid);
    const bool done = ::fchmod(created, st.st_mode & 07777) == 0;
    ::close(created);
    return done;
}

}  // namespace vidor::platform::linux_
