#pragma once

#include <vector>

#include "platform/WebCache.h"
#include "platform/linux/CacheStore.h"

namespace vidor::platform::linux_ {

// The HTTP disk caches of the browsers installed for this user, under $XDG_CACHE_HOME
// (~/.cache by default): Firefox's, then those of Chromium, Google Chrome, Brave, Edge and
// Vivaldi, each in every profile. Entries are listed browser by browser in that order, the
// profiles of a browser and the entry files of a profile in name order. Nothing below the cache
// folder is reached through a symbolic link.
class LinuxWebCache : public WebCache {
  public:
    // Reads every cache afresh and calls `visit` with each entry whose key holds a URL, as a
    // normal entry. Files that are not entries, or cannot be read, are passed over; a missing
    // cache has no entries.
    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;

    // Deletes every entry of `url` among those the last enumerate() found (the first call
    // without one reads the caches first), so that deleting a whole cache URL by URL reads each
    // file once. A file that cannot be deleted leaves its entry, which the next enumerate()
    // lists again.
    void remove(const std::string& url) override;

  private:
    void scan(const std::function<void(const std::string& url)>& visit);

    std::vector<CacheStore> stores_;
    bool scanned_ = false;
};

}  // namespace vidor::platform::linux_
