#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vidor::platform {

// Entry types of the web cache; only normal entries are ever listed.
inline constexpr std::uint32_t kCacheEntryNormal = 1;

struct CacheEntry {
    std::string url;
    std::uint32_t type = 0;
};

// The machine's cache of web pages and files, entry by entry.
class WebCache {
  public:
    virtual ~WebCache() = default;

    // Calls `visit` for every entry, in the cache's own order; an unreadable cache has none.
    virtual void enumerate(const std::function<void(const CacheEntry&)>& visit) = 0;

    // Deletes the entry of `url`; a refused deletion leaves it in place.
    virtual void remove(const std::string& url) = 0;
};

}  // namespace vidor::platform
