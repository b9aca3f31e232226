#pragma once

#include "platform/WebCache.h"

namespace vidor::platform::linux_ {

// The HTTP disk caches of the browsers installed for this user.
class LinuxWebCache : public WebCache {
public:
    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;
    void remove(const std::string& url) override;
};

}  // namespace vidor::platform::linux_
