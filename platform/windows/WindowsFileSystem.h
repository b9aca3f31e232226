#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/windows/DriveTable.h"
#include "platform/windows/WindowsFolder.h"

namespace vidor::platform::windows {

// Files and folders by path. A path of the program's form ("C:\a\b") is followed one name at a
// time from its drive's root, each folder opened from the one before; a path that starts with
// two backslashes ("\\server\share\a", "\\?\C:\a") is the machine's own and is used as it is.
class WindowsFileSystem : public FileSystem {
  public:
    explicit WindowsFileSystem(const DriveTable& table) : table_(table) {}

    std::unique_ptr<Folder> openFolder(const std::string& path, FolderError& error) override;
    std::optional<FileInfo> info(const std::string& path) override;
    Removal deleteFile(const std::string& path) override;
    Removal moveToTrash(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    bool copyFile(const std::string& from, const std::string& to, std::string& error) override;

  private:
    // A path of the program's form as the folder that holds its last name, and that name (empty
    // for a drive's root, which the folder then is).
    struct Located {
        std::unique_ptr<WindowsFolder> folder;
        std::string name;
    };
    Located locate(const std::string& path, FolderError& error);
    // The folder of `names` below the root of `drive`, or null with `error` filled.
    std::unique_ptr<WindowsFolder> walk(char drive, const std::vector<std::string>& names,
                                        FolderError& error);
    // `path` in the machine's own form, prefixed for long paths; empty for an unknown drive.
    std::wstring machinePath(const std::string& path);

    const DriveTable& table_;
};

}  // namespace vidor::platform::windows
