#pragma once

#include <cstdint>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/windows/Handle.h"

namespace vidor::platform::windows {

// A folder held by its handle; everything below it is opened relative to that handle, never
// through a reparse point (link, junction, mount point) and never on another volume.
class WindowsFolder : public Folder {
  public:
    // `volume`: the serial number of the drive's volume; `recycleBin`: whether the drive has one.
    WindowsFolder(Handle handle, unsigned long volume, bool recycleBin)
        : handle_(std::move(handle)), volume_(volume), recycleBin_(recycleBin) {}

    bool next(FolderEntry& entry) override;
    std::unique_ptr<Folder> openFolder(std::string_view name, FolderError& error) override;
    std::optional<std::uint64_t> fileSize(std::string_view name) override;
    std::unique_ptr<ReadableFile> openFile(std::string_view name) override;
    bool setNormal(std::string_view name) override;
    Removal deleteFile(std::string_view name) override;
    Removal moveToTrash(std::string_view name) override;
    bool removeFolder(std::string_view name) override;
    // When the folder cannot be made at once, the model lets go of its handle and the folder is
    // tried again: a folder removed while held keeps its name until its last handle closes, and
    // the model is most often that very folder. The model lists nothing after.
    bool createFolderLike(std::string_view name, Folder& model) override;

    // Opens a sub-folder; null with `error` filled when it is missing, unreadable, a reparse
    // point or on another volume.
    std::unique_ptr<WindowsFolder> open(std::string_view name, FolderError& error);

    // Deletes a file (or a link of any kind, never its target); 0 when done, else why not.
    unsigned long remove(std::string_view name, std::uint64_t* size = nullptr);

    // Makes next() list the folder again from its start.
    void rewind() { started_ = filled_ = false; }

    HANDLE handle() const { return handle_.get(); }

  private:
    bool fill();

    Handle handle_;
    unsigned long volume_;
    bool recycleBin_;
    std::vector<std::uint64_t> buffer_;  // the listing, 8-byte aligned
    std::size_t offset_ = 0;
    bool started_ = false;
    bool filled_ = false;
};

// Why a folder could not be opened, from a Win32 error code: missing, refused or unfit folders
// are passed over in silence.
FolderError folderError(unsigned long code);

}  // namespace vidor::platform::windows
