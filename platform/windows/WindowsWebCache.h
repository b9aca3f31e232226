#pragma once

#include <memory>

#include "platform/cache/BrowserCaches.h"
#include "platform/windows/WinInetCache.h"

namespace vidor::platform::windows {

// The web caches of the user: WinINet's entries first, then the disk caches of Firefox and of
// the Chromium family under %LOCALAPPDATA%.
class WindowsWebCache final : public cache::BrowserCaches {
  public:
    WindowsWebCache();

    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;

    // Deletes the WinINet entry of `url` and every disk cache entry of `url` among those the
    // last enumerate() found (the first call without one reads the disk caches first).
    void remove(const std::string& url) override;

  private:
    std::unique_ptr<Folder> openCacheFolder() override;

    WinInetCache winInet_;
};

}  // namespace vidor::platform::windows
