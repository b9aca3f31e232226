#include "census/RepertoireEfface.h"

#include <memory>
#include <vector>

#include "census/EntryGuard.h"

namespace vidor::census {

namespace {

// One folder being purged: its sub-folders are purged after its files, then it is removed.
struct Level {
    platform::Folder* parent;
    std::string name;
    std::string path;                          // of this folder, with its final backslash
    std::unique_ptr<platform::Folder> folder;  // null when it could not be opened
    std::vector<std::string> subFolders;
    std::size_t next = 0;
};

// What each file of a purge is done with, and who is told.
struct Purge {
    bool versCorbeille;
    platform::WindowSystem& windows;
    TailleTotale& total;
    EntryGuard guard;
    RunReport* report;
    const FolderFailed& folderFailed;
};

void removeFile(platform::Folder& folder, const std::string& name, const std::string& path,
                const Purge& purge) {
    folder.setNormal(name);
    const auto size = folder.fileSize(name);
    platform::Removal removal =
        purge.versCorbeille ? folder.moveToTrash(name) : folder.deleteFile(name);
    if (!removal) {
        if (purge.report) purge.report->failed(path + name, removal.reason);
        return;
    }
    // Only what is gone counts in the total.
    if (size) purge.total.add(*size);
    if (!removal.size) removal.size = size;
    if (purge.report) purge.report->removed(path + name, removal, purge.versCorbeille, true);
}

Level open(platform::Folder& parent, const std::string& name, const std::string& path,
           const Purge& purge) {
    Level level{&parent, name, path, nullptr, {}};
    platform::FolderError error;
    level.folder = parent.openFolder(name, error);
    if (!level.folder) {
        if (!error.silent && purge.folderFailed) purge.folderFailed(path, error);
        return level;
    }
    platform::FolderEntry entry;
    while (level.folder->next(entry)) {
        purge.windows.doEvents();
        if (EntryGuard::entered(entry)) {
            level.subFolders.push_back(entry.name);
        } else if (purge.guard.mayTouch(path, entry.name)) {
            removeFile(*level.folder, entry.name, path, purge);
        }
    }
    return level;
}

}  // namespace

void RepertoireEfface(platform::Folder& parent, const std::string& name, bool versCorbeille,
                      platform::WindowSystem& windows, TailleTotale& total,
                      const SystemFiles& system, RunReport* report,
                      const FolderFailed& folderFailed) {
    const Purge purge{versCorbeille, windows,     total, EntryGuard(system.files),
                      report,        folderFailed};
    // A stack instead of recursion: however deep the tree, the call stack stays flat.
    std::vector<Level> levels;
    levels.push_back(open(parent, name, system.path, purge));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.folder && level.next < level.subFolders.size()) {
            const std::string& sub = level.subFolders[level.next++];
            platform::Folder& folder = *level.folder;
            levels.push_back(open(folder, sub, level.path + sub + '\\', purge));
            continue;
        }
        platform::Folder* holder = level.parent;
        const std::string done = level.name;
        levels.pop_back();
        holder->removeFolder(done);
    }
}

}  // namespace vidor::census
