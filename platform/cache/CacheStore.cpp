#include "platform/cache/CacheStore.h"

#include <algorithm>

namespace vidor::platform::cache {

std::vector<std::string> sortedNames(Folder& folder, EntryKind kind) {
    std::vector<std::string> names;
    for (FolderEntry entry; folder.next(entry);) {
        if (entry.kind == kind) names.push_back(std::move(entry.name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CacheStore::scan(const std::function<void(const std::string& url)>& visit) {
    keyFiles_.clear();
    // A link, a pipe or a device is a file to the listing: opening it fails without waiting.
    for (const std::string& name : sortedNames(*folder_, EntryKind::File)) {
        if (!format_->isEntryFile(name)) continue;
        const auto file = folder_->openFile(name);
        const auto url = file ? format_->entryUrl(*file) : std::nullopt;
        if (!url) continue;
        keyFiles_.emplace(*url, name);
        visit(*url);
    }
}

void CacheStore::remove(const std::string& url) {
    // A browser names an entry's files after its key, so a file listed by the scan still holds
    // the same entry if it is there at all. The key file goes first: without it the browser no
    // longer sees the entry, and when it cannot go, the entry stays whole.
    auto [entry, end] = keyFiles_.equal_range(url);
    while (entry != end) {
        if (!removeFile(entry->second)) {
            ++entry;
            continue;
        }
        for (const std::string& companion : format_->companions(entry->second))
            removeFile(companion);
        entry = keyFiles_.erase(entry);
    }
}

bool CacheStore::removeFile(const std::string& name) {
    // The browser may have deleted the file meanwhile: what is no longer there is gone.
    return folder_->deleteFile(name).done || !folder_->fileSize(name);
}

}  // namespace vidor::platform::cache
