#pragma once

#include <vector>

#include "platform/WebCache.h"
#include "platform/windows/DiskCacheStore.h"
#include "platform/windows/WinInetCache.h"

namespace vidor::platform::windows {

// The web caches of the user: WinINet's entries first, then the disk caches of Firefox and of
// the Chromium family under %LOCALAPPDATA%, listed as normal entries, browser by browser, the
// profiles of a browser and the entry files of a profile in name order.
class WindowsWebCache : public WebCache {
  public:
    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;

    // Deletes the WinINet entry of `url` and every disk cache entry of `url` among those the
    // last enumerate() found (the first call without one reads the disk caches first).
    void remove(const std::string& url) override;

  private:
    void scan(const std::function<void(const std::string& url)>& visit);

    WinInetCache winInet_;
    std::vector<DiskCacheStore> stores_;
    bool scanned_ = false;
};

}  // namespace vidor::platform::windows
