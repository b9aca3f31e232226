#include "census/RepertoireEfface.h"

#include <memory>
#include <vector>

namespace vidor::census {

namespace {

// One folder being purged: its sub-folders are purged after its files, then it is removed.
struct Level {
    platform::Folder* parent;
    std::string name;
    std::string path;  // of this folder, with its final backslash, when system files are spared
    std::unique_ptr<platform::Folder> folder;  // null when it could not be opened
    std::vector<std::string> subFolders;
    std::size_t next = 0;
};

void removeFile(platform::Folder& folder, const std::string& name, bool versCorbeille,
                TailleTotale& total) {
    folder.setNormal(name);
    const auto size = folder.fileSize(name);
    const bool removed = versCorbeille ? folder.moveToTrash(name) : folder.deleteFile(name);
    // Only what is gone counts in the total.
    if (removed && size) total.add(*size);
}

Level open(platform::Folder& parent, const std::string& name, const std::string& path,
           bool versCorbeille, platform::WindowSystem& windows, TailleTotale& total,
           platform::FileSystem* files) {
    Level level{&parent, name, path, nullptr, {}};
    platform::FolderError ignored;
    level.folder = parent.openFolder(name, ignored);
    if (!level.folder) return level;
    platform::FolderEntry entry;
    while (level.folder->next(entry)) {
        windows.doEvents();
        if (entry.name.front() == '.') continue;
        if (entry.kind == platform::EntryKind::File) {
            if (files && files->systemFile(path + entry.name)) continue;
            removeFile(*level.folder, entry.name, versCorbeille, total);
        } else {
            level.subFolders.push_back(entry.name);
        }
    }
    return level;
}

}  // namespace

void RepertoireEfface(platform::Folder& parent, const std::string& name, bool versCorbeille,
                      platform::WindowSystem& windows, TailleTotale& total,
                      const SystemFiles& system) {
    const auto pathOf = [&](const std::string& folder, const std::string& sub) {
        return system.files ? folder + sub + '\\' : std::string();
    };
    // A stack instead of recursion: however deep the tree, the call stack stays flat.
    std::vector<Level> levels;
    levels.push_back(open(parent, name, system.path, versCorbeille, windows, total, system.files));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.folder && level.next < level.subFolders.size()) {
            const std::string& sub = level.subFolders[level.next++];
            platform::Folder& folder = *level.folder;
            levels.push_back(open(folder, sub, pathOf(level.path, sub), versCorbeille, windows,
                                  total, system.files));
            continue;
        }
        platform::Folder* holder = level.parent;
        const std::string done = level.name;
        levels.pop_back();
        holder->removeFolder(done);
    }
}

}  // namespace vidor::census
