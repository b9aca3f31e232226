#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/cache/CacheEntries.h"
#include "platform/cache/CacheFormat.h"
#include "platform/windows/WindowsFolder.h"

namespace vidor::platform::windows {

// The entries folder of one browser profile, held open by its handle, so that a deletion acts on
// the very folder that was listed. It remembers which file holds which URL from its last scan.
class DiskCacheStore {
  public:
    // `format` must outlive the store.
    DiskCacheStore(std::unique_ptr<WindowsFolder> folder, const cache::CacheFormat& format)
        : folder_(std::move(folder)), format_(&format), entries_(format) {}

    // Reads every entry afresh and calls `visit` with each entry's URL, in file name order.
    void scan(const std::function<void(const std::string& url)>& visit);

    // Deletes the entries of the last scan whose URL is `url`: the key file, then its
    // companions. An entry whose key file cannot be deleted is left whole.
    void remove(const std::string& url);

  private:
    std::unique_ptr<WindowsFolder> folder_;
    const cache::CacheFormat* format_;
    cache::CacheEntries entries_;
};

// The entries folders of every profile of every browser below the open folder `cacheRoot`
// (%LOCALAPPDATA%), in listing order; none is reached through a link.
std::vector<DiskCacheStore> findDiskCaches(WindowsFolder& cacheRoot);

}  // namespace vidor::platform::windows
