#pragma once

#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/FolderListing.h"
#include "platform/linux/FolderNode.h"
#include "platform/linux/ReadAhead.h"

namespace vidor::platform::linux_ {

class Trash;

// A folder held by its descriptor: every operation names an entry of this very folder and
// never follows a link. A sub-folder read ahead is handed out only if its name still leads, without
// a link, to the very folder that was read, unchanged since; else it is opened as it would have
// been without the read-ahead.
class LinuxFolder : public Folder {
  public:
    // Sub-folders are read ahead by `readAhead`, when given.
    LinuxFolder(std::shared_ptr<FolderNode> node, Trash& trash, ReadAhead* readAhead = nullptr);
    ~LinuxFolder() override;

    bool next(FolderEntry& entry) override;
    std::unique_ptr<Folder> openFolder(std::string_view name, FolderError& error) override;
    std::optional<std::uint64_t> fileSize(std::string_view name) override;
    std::unique_ptr<ReadableFile> openFile(std::string_view name) override;
    bool setNormal(std::string_view name) override;
    Removal deleteFile(std::string_view name) override;
    Removal moveToTrash(std::string_view name) override;
    bool removeFolder(std::string_view name) override;
    bool createFolderLike(std::string_view name, Folder& model) override;
    void readAhead(const std::vector<std::string>& names,
                   std::shared_ptr<const ListingUse> use) override;

    const std::shared_ptr<FolderNode>& node() const { return node_; }

    // Opens the sub-folder `name` of the folder `parent` as a node, on the same volume only.
    static std::shared_ptr<FolderNode> openChild(const std::shared_ptr<FolderNode>& parent,
                                                 std::string_view name, FolderError& error);

    // Removes the entry `name` (a file or a link, never a folder) of the open folder `folderFd`.
    static Removal removeEntry(int folderFd, const std::string& name);

  private:
    std::unique_ptr<Folder> adopt(std::shared_ptr<AheadFolder> read);

    std::shared_ptr<FolderNode> node_;
    Trash& trash_;
    ReadAhead* readAhead_;
    std::shared_ptr<AheadFolder> ahead_;  // its sub-folders read ahead
    FolderListing listing_;
    bool complete_ = false;  // listing_ holds the rest of the listing
    std::vector<char> buffer_;
    bool done_ = false;
};

// Opens the sub-folder `name` of the open folder `parent` without following a link, and only on
// `volume`; fills `identity`. The descriptor, or -1 with `error`.
int openSubFolder(int parent, std::string_view name, dev_t volume, FolderIdentity& identity,
                  FolderError& error);

// Whether a failure to open a folder (an errno value) is of the kind passed over in silence,
// and what to tell the user otherwise.
FolderError folderError(int error);

}  // namespace vidor::platform::linux_
