#include "census/CacheListe.h"

namespace vidor::census {

void CacheListe(platform::WebCache& cache, platform::ListBox& lDel) {
    lDel.clear();
    cache.enumerate([&lDel](const platform::CacheEntry& entry) {
        if (entry.type & platform::kCacheEntryNormal) lDel.addItem(entry.url);
    });
}

void clearWebCache(platform::WebCache& cache, platform::ListBox& lDel) {
    lDel.setVisible(false);
    CacheListe(cache, lDel);
    lDel.setVisible(true);
    const int count = lDel.count();
    for (int i = 0; i < count; ++i) {
        if (lDel.item(i).find("Cookie") == std::string::npos) cache.remove(lDel.item(i));
    }
    lDel.setVisible(false);
    CacheListe(cache, lDel);
    lDel.setListIndex(-1);
    lDel.setVisible(true);
}

}  // namespace vidor::census
