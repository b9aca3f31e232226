#pragma once

#include "platform/WebCache.h"

namespace vidor::platform::windows {

// The WinINet cache of the user (pages, files, cookies and history of the system's browser
// components), entry by entry.
class WinInetCache : public WebCache {
  public:
    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;
    void remove(const std::string& url) override;
};

}  // namespace vidor::platform::windows
