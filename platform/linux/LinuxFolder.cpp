#include "platform/linux/LinuxFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/linux/FdFile.h"
#include "platform/linux/FileInUse.h"
#include "platform/linux/LateClose.h"
#include "platform/linux/SystemReason.h"
#include "platform/linux/Trash.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

std::string nameOf(std::string_view name) {
    return std::string(name);
}

FolderIdentity identityOf(const struct statx& stx) {
    constexpr std::int64_t kBillion = 1000000000;
    return {makedev(stx.stx_dev_major, stx.stx_dev_minor), stx.stx_ino,
            stx.stx_mtime.tv_sec * kBillion + stx.stx_mtime.tv_nsec,
            stx.stx_ctime.tv_sec * kBillion + stx.stx_ctime.tv_nsec};
}

// The identity of the open folder `fd` when it lies on `volume` and is not the root of another
// mount.
std::optional<FolderIdentity> onVolume(int fd, dev_t volume) {
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &stx) != 0) return std::nullopt;
    if ((stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
        (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT)) {
        return std::nullopt;
    }
    FolderIdentity identity = identityOf(stx);
    if (identity.device != volume) return std::nullopt;
    return identity;
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
            return {true, {}, error};
        default: {
            // Told alone in a box, so it begins as a sentence does.
            std::string reason = reasonOf(error);
            if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') reason[0] -= 'a' - 'A';
            return {false, std::move(reason), error};
        }
    }
}

LinuxFolder::LinuxFolder(std::shared_ptr<FolderNode> node, Trash& trash, ReadAhead* readAhead)
    : node_(std::move(node)), trash_(trash), readAhead_(readAhead) {}

LinuxFolder::~LinuxFolder() {
    if (ahead_) readAhead_->drop(*ahead_);
}

bool LinuxFolder::next(FolderEntry& entry) {
    if (done_) return false;
    node_->setListing(true);
    while (!listing_.next(entry)) {
        listing_.clear();
        if (complete_ || !readListing(node_->descriptor(), listing_, buffer_)) {
            done_ = true;
            node_->setListing(false);
            listing_ = FolderListing();
            std::vector<char>().swap(buffer_);
            return false;
        }
    }
    return true;
}

int openSubFolder(int parent, std::string_view name, dev_t volume, FolderIdentity& identity,
                  FolderError& error) {
    const std::string child = nameOf(name);
    if (child.empty() || child == "." || child == ".." || child.find('/') != std::string::npos) {
        error = folderError(ENOENT);
        return -1;
    }
    const int fd = parent < 0 ? -1
                              : ::openat(parent, child.c_str(),
                                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = folderError(parent < 0 ? ENOENT : errno);
        return -1;
    }
    const auto found = onVolume(fd, volume);
    if (!found) {
        ::close(fd);
        error = folderError(EXDEV);
        return -1;
    }
    identity = *found;
    return fd;
}

std::shared_ptr<FolderNode> LinuxFolder::openChild(const std::shared_ptr<FolderNode>& parent,
                                                   std::string_view name, FolderError& error) {
    FolderIdentity identity;
    const int parentFd = parent->descriptor();
    if (parentFd < 0) {
        // Given back to keep few descriptors open, and not to be had again.
        error = folderError(parent->error());
        return nullptr;
    }
    const int fd = openSubFolder(parentFd, name, parent->volume(), identity, error);
    if (fd < 0) return nullptr;
    return std::make_shared<FolderNode>(parent->registry(), parent, nameOf(name), fd,
                                        parent->volume(), &identity);
}

std::unique_ptr<Folder> LinuxFolder::openFolder(std::string_view name, FolderError& error) {
    if (ahead_) {
        if (auto read = readAhead_->take(*ahead_, name)) {
            if (auto folder = adopt(std::move(read))) return folder;
        }
    }
    auto node = openChild(node_, name, error);
    if (!node) return nullptr;
    return std::make_unique<LinuxFolder>(std::move(node), trash_, readAhead_);
}

std::unique_ptr<Folder> LinuxFolder::adopt(std::shared_ptr<AheadFolder> read) {
    // The name must still lead, without a link, to the folder read, unchanged since it was read.
    const int fd = node_->descriptor();
    struct statx stx {};
    if (fd < 0 ||
        ::statx(fd, read->name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &stx) != 0 ||
        !S_ISDIR(stx.stx_mode) || !(identityOf(stx) == read->identity)) {
        readAhead_->drop(*read);
        return nullptr;
    }
    auto node = std::make_shared<FolderNode>(node_->registry(), node_, read->name,
                                             read->fd.release(), node_->volume(), &read->identity);
    auto folder = std::make_unique<LinuxFolder>(node, trash_, readAhead_);
    folder->listing_ = std::move(read->listing);
    folder->complete_ = read->complete;
    // The rest of a long listing is read from where the reader stopped: the descriptor stays.
    node->setListing(!read->complete);
    folder->ahead_ = std::move(read);
    return folder;
}

void LinuxFolder::readAhead(const std::vector<std::string>& names,
                            std::shared_ptr<const ListingUse> use) {
    if (!readAhead_ || (ahead_ && ahead_->subFoldersAhead)) return;
    if (ahead_) readAhead_->drop(*ahead_);
    const int fd = node_->descriptor();
    if (fd >= 0) ahead_ = readAhead_->schedule(fd, node_->volume(), names, std::move(use));
}

std::optional<std::uint64_t> LinuxFolder::fileSize(std::string_view name) {
    struct stat st {};
    const int fd = node_->descriptor();
    if (fd < 0 || ::fstatat(fd, nameOf(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

std::unique_ptr<ReadableFile> LinuxFolder::openFile(std::string_view name) {
    const int fd = node_->descriptor();
    if (fd < 0) return nullptr;
    return FdFile::open(fd, nameOf(name));
}

bool LinuxFolder::setNormal(std::string_view) {
    // A read-only file can be removed from a folder that lets us write: nothing to change.
    return true;
}

Removal LinuxFolder::deleteFile(std::string_view name) {
    const int fd = node_->descriptor();
    if (fd < 0) return Removal::failed(reasonOf(EBADF));
    return removeEntry(fd, nameOf(name));
}

Removal LinuxFolder::removeEntry(int folderFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return Removal::failed(reasonOf(errno));
    }
    UniqueFd hold;
    if (std::string inUse = holdIfUnused(folderFd, name, st, hold); !inUse.empty()) {
        return Removal::failed(std::move(inUse));
    }
    if (::unlinkat(folderFd, name.c_str(), 0) != 0) return Removal::failed(reasonOf(errno));
    if (hold) LateClose::shared().hand(std::move(hold));
    return {true, {}, {}, static_cast<std::uint64_t>(st.st_size)};
}

Removal LinuxFolder::moveToTrash(std::string_view name) {
    const int fd = node_->descriptor();
    if (fd < 0) return Removal::failed(reasonOf(EBADF));
    return trash_.move(fd, nameOf(name));
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
