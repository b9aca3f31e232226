#pragma once

#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/FolderNode.h"

namespace vidor::platform::linux_ {

class Trash;

// A folder held by its descriptor: every operation names an entry of this very folder and
// never follows a link.
class LinuxFolder : public Folder {
  public:
    LinuxFolder(std::shared_ptr<FolderNode> node, Trash& trash);

    bool next(FolderEntry& entry) override;
    std::unique_ptr<Folder> openFolder(std::string_view name, FolderError& error) override;
    std::optional<std::uint64_t> fileSize(std::string_view name) override;
    bool setNormal(std::string_view name) override;
    bool deleteFile(std::string_view name) override;
    bool moveToTrash(std::string_view name) override;
    bool removeFolder(std::string_view name) override;
    bool createFolderLike(std::string_view name, Folder& model) override;

    const std::shared_ptr<FolderNode>& node() const { return node_; }

    // Opens the sub-folder `name` of the folder `parent` as a node, on the same volume only.
    static std::shared_ptr<FolderNode> openChild(const std::shared_ptr<FolderNode>& parent,
                                                 std::string_view name, FolderError& error);

  private:
    bool fill();

    std::shared_ptr<FolderNode> node_;
    Trash& trash_;
    std::vector<char> buffer_;
    std::size_t offset_ = 0;
    std::size_t size_ = 0;
    bool done_ = false;
};

// Whether a failure to open a folder (an errno value) is of the kind passed over in silence,
// and what to tell the user otherwise.
FolderError folderError(int error);

}  // namespace vidor::platform::linux_
