#include "platform/linux/FolderNode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace vidor::platform::linux_ {

FolderNode::FolderNode(std::shared_ptr<OpenFolders> registry, std::shared_ptr<FolderNode> parent,
                       std::string name, int fd, dev_t volume, const FolderIdentity* known)
    : registry_(std::move(registry)),
      parent_(std::move(parent)),
      name_(std::move(name)),
      fd_(fd),
      volume_(volume) {
    struct stat st {};
    if (known) {
        dev_ = known->device;
        ino_ = known->inode;
    } else if (fd_ >= 0 && ::fstat(fd_, &st) == 0) {
        dev_ = st.st_dev;
        ino_ = st.st_ino;
    }
    if (fd_ >= 0) registry_->opened(*this);
}

FolderNode::~FolderNode() {
    // Going back up: the parent is about to be used again. If its descriptor was closed, take it
    // from this folder's "..", which costs one call whatever the depth.
    if (fd_ >= 0 && parent_ && parent_->fd_ < 0) parent_->reopenFrom(fd_, "..");
    closeDescriptor();
}

bool FolderNode::isSelf(int fd) const {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_;
}

bool FolderNode::reopenFrom(int parentFd, const char* name) {
    int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;  // out of descriptors, or the folder is gone
        return false;
    }
    if (!isSelf(fd)) {
        ::close(fd);
        error_ = ENOENT;
        return false;
    }
    fd_ = fd;
    registry_->opened(*this);
    return true;
}

int FolderNode::descriptor() {
    if (fd_ >= 0) {
        registry_->used(*this);
        return fd_;
    }
    // Open again the closed folders from the nearest open ancestor down, without recursion.
    std::vector<FolderNode*> chain;
    for (FolderNode* node = this; node && node->fd_ < 0; node = node->parent_.get()) {
        chain.push_back(node);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        FolderNode* node = *it;
        const int parentFd = node->parent_ ? node->parent_->descriptor() : -1;
        if (parentFd < 0) {
            error_ = node->parent_ ? node->parent_->error_ : ENOENT;
            return -1;
        }
        if (!node->reopenFrom(parentFd, node->name_.c_str())) {
            error_ = node->error_;
            return -1;
        }
    }
    return fd_;
}

void FolderNode::closeDescriptor() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    registry_->closed(*this);
}

void OpenFolders::opened(FolderNode& node) {
    node.place_ = open_.insert(open_.end(), &node);
    for (auto it = open_.begin(); open_.size() > limit_ && it != open_.end();) {
        FolderNode* oldest = *it++;
        if (oldest != &node && oldest->evictable()) oldest->closeDescriptor();
    }
}

void OpenFolders::used(FolderNode& node) {
    open_.splice(open_.end(), open_, node.place_);
}

void OpenFolders::closed(FolderNode& node) {
    open_.erase(node.place_);
}

}  // namespace vidor::platform::linux_
