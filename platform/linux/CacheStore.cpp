#include "platform/linux/CacheStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vidor::platform::linux_ {

void CacheStore::scan(const std::function<void(const std::string& url)>& visit) {
    keyFiles_.clear();
    for (const std::string& name : sortedNames(folder_.get(), NameKind::RegularFile)) {
        if (!format_->isEntryFile(name)) continue;
        const auto file = openRegularFile(folder_.get(), name);
        const auto url = file ? format_->entryUrl(FdCacheFile(*file)) : std::nullopt;
        if (!url) continue;
        keyFiles_.emplace(*url, name);
        visit(*url);
    }
}

void CacheStore::remove(const std::string& url) {
    // A browser names an entry's files after its key, so a file listed by the scan still holds
    // the same entry if it is there at all.
    auto [entry, end] = keyFiles_.equal_range(url);
    while (entry != end) {
        if (removeEntry(entry->second))
            entry = keyFiles_.erase(entry);
        else
            ++entry;
    }
}

bool CacheStore::removeEntry(const std::string& keyFile) {
    // The key file goes first: without it the browser no longer sees the entry, and when it
    // cannot go, the entry stays whole.
    if (::unlinkat(folder_.get(), keyFile.c_str(), 0) != 0 && errno != ENOENT) return false;
    for (const std::string& companion : format_->companions(keyFile)) {
        ::unlinkat(folder_.get(), companion.c_str(), 0);
    }
    return true;
}

}  // namespace vidor::platform::linux_
