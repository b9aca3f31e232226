#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/WebCache.h"
#include "platform/cache/CacheStore.h"

namespace vidor::platform::cache {

// The families of browsers that share a disk cache format.
enum class CacheFamily { Firefox, Chromium };

// Where one browser keeps its profiles: names separated by "/", below the user's cache folder.
struct BrowserFolder {
    std::string_view profiles;
    CacheFamily family;
};

// The HTTP disk caches of the user's browsers, each in every profile, read the same way on every
// system: each system tells where its cache folder is and where its browsers keep their profiles
// in it. Entries are listed browser by browser in that order, the profiles of a browser and the
// entry files of a profile in name order. Nothing below the cache folder is reached through a
// link.
class BrowserCaches : public WebCache {
  public:
    // `browsers`, in listing order, must outlive the caches.
    explicit BrowserCaches(std::span<const BrowserFolder> browsers) : browsers_(browsers) {}

    // Reads every cache afresh and calls `visit` with each entry whose key holds a URL, as a
    // normal entry. Files that are not entries, or cannot be read, are passed over; a missing
    // cache has no entries.
    void enumerate(const std::function<void(const CacheEntry&)>& visit) override;

    // Deletes every entry of `url` among those the last enumerate() found (the first call
    // without one reads the caches first), so that deleting a whole cache URL by URL reads each
    // file once. A file that cannot be deleted leaves its entry, which the next enumerate()
    // lists again.
    void remove(const std::string& url) override;

  protected:
    // The user's cache folder, opened afresh; null when there is none.
    virtual std::unique_ptr<Folder> openCacheFolder() = 0;

  private:
    void scan(const std::function<void(const std::string& url)>& visit);

    std::span<const BrowserFolder> browsers_;
    std::vector<CacheStore> stores_;
    bool scanned_ = false;
};

}  // namespace vidor::platform::cache
