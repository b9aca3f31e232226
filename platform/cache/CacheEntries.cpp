#include "platform/cache/CacheEntries.h"

namespace vidor::platform::cache {

void CacheEntries::scan(
    const std::vector<std::string>& names,
    const std::function<std::optional<std::string>(const std::string& name)>& urlOf,
    const std::function<void(const std::string& url)>& visit) {
    keyFiles_.clear();
    for (const std::string& name : names) {
        if (!format_->isEntryFile(name)) continue;
        const auto url = urlOf(name);
        if (!url) continue;
        keyFiles_.emplace(*url, name);
        visit(*url);
    }
}

void CacheEntries::remove(const std::string& url,
                          const std::function<bool(const std::string& name)>& removeFile) {
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

}  // namespace vidor::platform::cache
