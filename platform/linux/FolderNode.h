#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

namespace vidor::platform::linux_ {

class OpenFolders;

// What tells a folder from any other that took its name: its volume and inode, and the times of
// its last changes (in nanoseconds), which move when an entry is added, removed or renamed in it
// or its rights change.
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// A folder the program holds open, known by its identity (device and inode) so that it is
// never mistaken for another. To keep the number of open descriptors bounded, an idle folder
// may have its descriptor closed; it is opened again from its parent, without following links,
// only if it is still the same folder.
class FolderNode {
  public:
    // Takes `fd`, an open descriptor of the folder. `parent` is null for a folder opened by path
    // (such a folder keeps its descriptor). `known` spares reading the identity of `fd` again.
    FolderNode(std::shared_ptr<OpenFolders> registry, std::shared_ptr<FolderNode> parent,
               std::string name, int fd, dev_t volume, const FolderIdentity* known = nullptr);
    FolderNode(const FolderNode&) = delete;
    FolderNode& operator=(const FolderNode&) = delete;
    ~FolderNode();

    // An open descriptor of this folder, or -1 when it cannot be opened again as the same folder;
    // error() then tells why (an errno value, ENOENT when the name leads to another folder).
    int descriptor();
    int error() const { return error_; }

    bool valid() const { return fd_ >= 0; }
    const std::string& name() const { return name_; }
    dev_t volume() const { return volume_; }
    const std::shared_ptr<FolderNode>& parent() const { return parent_; }
    const std::shared_ptr<OpenFolders>& registry() const { return registry_; }

    // While a listing is under way its position lives in the descriptor, which must stay open.
    void setListing(bool listing) { listing_ = listing; }
    bool evictable() const { return fd_ >= 0 && parent_ && !listing_; }

    // Closes the descriptor (the registry asks it when too many are open).
    void closeDescriptor();

  private:
    friend class OpenFolders;
    bool reopenFrom(int parentFd, const char* name);
    bool isSelf(int fd) const;

    std::shared_ptr<OpenFolders> registry_;
    std::shared_ptr<FolderNode> parent_;
    std::string name_;
    int fd_;
    dev_t volume_;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    bool listing_ = false;
    int error_ = 0;
    std::list<FolderNode*>::iterator place_;
};

// Counts the open folder descriptors and closes the least recently used idle ones beyond a limit.
class OpenFolders {
  public:
    explicit OpenFolders(std::size_t limit) : limit_(limit) {}

    std::size_t count() const { return open_.size(); }
    std::size_t limit() const { return limit_; }

    void opened(FolderNode& node);
    void used(FolderNode& node);
    void closed(FolderNode& node);

  private:
    std::list<FolderNode*> open_;  // least recently used first
    std::size_t limit_;
};

}  // namespace vidor::platform::linux_
