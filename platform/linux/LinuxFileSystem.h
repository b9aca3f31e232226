#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/DriveMap.h"
#include "platform/linux/FolderNode.h"
#include "platform/linux/PackageFiles.h"
#include "platform/linux/ReadAhead.h"
#include "platform/linux/Trash.h"

namespace vidor::platform::linux_ {

// Files and folders of the drive letters of a DriveMap, and of the machine's own paths.
// A path in the program's form is followed from its drive's folder one name at a time, each
// folder opened from the one before without following a link and on the same volume, so that it
// can never lead out of the drive.
class LinuxFileSystem : public FileSystem {
  public:
    // At most `openLimit` folder descriptors are kept open at once by the folders handed out.
    explicit LinuxFileSystem(const DriveMap& drives, std::size_t openLimit = 64);

    std::unique_ptr<Folder> openFolder(const std::string& path, FolderError& error) override;
    std::optional<FileInfo> info(const std::string& path) override;
    Removal deleteFile(const std::string& path) override;
    Removal moveToTrash(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    bool copyFile(const std::string& from, const std::string& to, std::string& error) override;
    bool systemFile(const std::string& path) override;
    void systemFilesAhead() override;

    // Where dpkg's file lists are read from (/var/lib/dpkg/info unless told otherwise).
    void readPackageListsFrom(const std::string& folder) {
        packages_ = PackageFiles(folder, PackageFiles::userCacheFile());
    }

    // How many folder descriptors are open now.
    std::size_t openFolders() const { return registry_->count(); }
    // The worker threads that read folders ahead of a walk.
    ReadAhead& readAhead() { return readAhead_; }

    // The machine's path for a path in the program's form ("C:\a\b" gives <C's folder>/a/b);
    // empty for a drive without a folder. A machine path is returned unchanged.
    std::string nativePath(const std::string& path) const;

  private:
    // A path split into the folder that holds its last name, and that name (empty for a
    // drive's root, which the folder then is).
    struct Located {
        std::shared_ptr<FolderNode> folder;
        std::string name;
        std::string folderPath;  // the folder's real path, where it was just read
    };
    Located locate(const std::string& path, FolderError& error);
    // The same for a file to remove: a deletion goes through its list folder by folder, so the
    // folder of the last one is kept, and taken again while it still lies where it lay.
    Located locateToRemove(const std::string& path, FolderError& error);
    std::shared_ptr<FolderNode> openRoot(const std::string& folder, FolderError& error);
    // Keeps the real path of the folder `fd` just opened for `drive`, worked out again only
    // when another folder takes the drive's place.
    void noteRoot(const Drive& drive, int fd);
    // The path in the program's form as the machine's real path: the real path of the drive's
    // folder, then the names; a machine path unchanged; empty for a drive without a folder.
    std::string realPath(const std::string& path);

    // The real path of each drive's folder, with the identity of the folder it was found for.
    struct RealRoot {
        dev_t device = 0;
        ino_t inode = 0;
        std::string path;
    };

    struct LastFolder {
        std::string path;      // in the program's form, up to its last backslash
        std::string realPath;  // where it lay on the machine
        std::shared_ptr<FolderNode> folder;
    };
    LastFolder last_;
    const DriveMap& drives_;
    std::map<char, RealRoot> realRoots_;
    std::shared_ptr<OpenFolders> registry_;
    Trash trash_;
    PackageFiles packages_{"/var/lib/dpkg/info", PackageFiles::userCacheFile()};
    ReadAhead readAhead_;
};

// The names of a path in the program's form after "X:", empty names dropped.
std::vector<std::string> namesOf(const std::string& path);

}  // namespace vidor::platform::linux_
