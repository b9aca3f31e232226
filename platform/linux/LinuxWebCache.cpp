#include "platform/linux/LinuxWebCache.h"

#include <fcntl.h>

#include <QFile>
#include <QStandardPaths>
#include <array>

#include "platform/cache/ChromiumCache.h"
#include "platform/cache/FirefoxCache.h"

namespace vidor::platform::linux_ {

namespace {

const cache::FirefoxCache kFirefox;
const cache::ChromiumCache kChromium;
const std::array<const cache::CacheFormat*, 2> kFormats = {&kFirefox, &kChromium};

// The entries folders of every profile of every browser, in listing order.
std::vector<CacheStore> findStores() {
    std::vector<CacheStore> stores;
    // $XDG_CACHE_HOME, or ~/.cache; the user may have made that folder itself a link.
    const QByteArray home =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    const UniqueFd cache(::open(home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!cache) return stores;
    for (const cache::CacheFormat* format : kFormats) {
        for (const std::string_view browser : format->browserFolders()) {
            const UniqueFd profiles = openFolderBelow(cache.get(), browser);
            if (!profiles) continue;
            for (const std::string& profile : sortedNames(profiles.get(), NameKind::Folder)) {
                UniqueFd entries = openFolderBelow(
                    profiles.get(), profile + "/" + std::string(format->entriesFolder()));
                if (entries) stores.emplace_back(std::move(entries), *format);
            }
        }
    }
    return stores;
}

}  // namespace

void LinuxWebCache::enumerate(const std::function<void(const CacheEntry&)>& visit) {
    scan([&visit](const std::string& url) { visit(CacheEntry{url, kCacheEntryNormal}); });
}

void LinuxWebCache::remove(const std::string& url) {
    if (!scanned_) scan([](const std::string&) {});
    for (CacheStore& store : stores_) store.remove(url);
}

void LinuxWebCache::scan(const std::function<void(const std::string& url)>& visit) {
    stores_ = findStores();
    scanned_ = true;
    for (CacheStore& store : stores_) store.scan(visit);
}

}  // namespace vidor::platform::linux_
