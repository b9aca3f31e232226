#include "platform/linux/LinuxWebCache.h"

namespace vidor::platform::linux_ {

// TODO(web cache): read the browsers' caches.
void LinuxWebCache::enumerate(const std::function<void(const CacheEntry&)>&) {}

void LinuxWebCache::remove(const std::string&) {}

}  // namespace vidor::platform::linux_
