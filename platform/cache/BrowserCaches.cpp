#include "platform/cache/BrowserCaches.h"

#include <algorithm>

#include "platform/cache/ChromiumCache.h"
#include "platform/cache/FirefoxCache.h"

namespace vidor::platform::cache {

namespace {

const FirefoxCache kFirefox;
const ChromiumCache kChromium;

const CacheFormat& formatOf(CacheFamily family) {
    if (family == CacheFamily::Firefox) return kFirefox;
    return kChromium;
}

// The folder `path` (names separated by "/") below `from`; null when a name is missing, a link
// or not a folder, which leaves a cache without entries.
std::unique_ptr<Folder> openBelow(Folder& from, std::string_view path) {
    std::unique_ptr<Folder> folder;
    FolderError error;
    while (!path.empty()) {
        const std::size_t slash = std::min(path.find('/'), path.size());
        folder = (folder ? *folder : from).openFolder(path.substr(0, slash), error);
        if (!folder) return nullptr;
        path.remove_prefix(std::min(slash + 1, path.size()));
    }
    return folder;
}

}  // namespace

void BrowserCaches::enumerate(const std::function<void(const CacheEntry&)>& visit) {
    scan([&visit](const std::string& url) { visit(CacheEntry{url, kCacheEntryNormal}); });
}

void BrowserCaches::remove(const std::string& url) {
    if (!scanned_) scan([](const std::string&) {});
    for (CacheStore& store : stores_) store.remove(url);
}

void BrowserCaches::scan(const std::function<void(const std::string& url)>& visit) {
    stores_.clear();
    scanned_ = true;
    const auto root = openCacheFolder();
    if (!root) return;
    for (const BrowserFolder& browser : browsers_) {
        const CacheFormat& format = formatOf(browser.family);
        const auto profiles = openBelow(*root, browser.profiles);
        if (!profiles) continue;
        for (const std::string& profile : sortedNames(*profiles, EntryKind::Folder)) {
            auto entries =
                openBelow(*profiles, profile + "/" + std::string(format.entriesFolder()));
            if (entries) stores_.emplace_back(std::move(entries), format);
        }
    }
    for (CacheStore& store : stores_) store.scan(visit);
}

}  // namespace vidor::platform::cache
