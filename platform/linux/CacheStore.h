#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/cache/CacheEntries.h"
#include "platform/cache/CacheFormat.h"
#include "platform/linux/CacheFiles.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

// The entries folder of one browser profile, held open so that a deletion acts on the very
// folder that was listed, whatever happens to the paths meanwhile. It remembers which file holds
// which URL from its last scan, so that deleting one URL reads no file.
class CacheStore {
  public:
    // `format` must outlive the store.
    CacheStore(UniqueFd folder, const cache::CacheFormat& format)
        : folder_(std::move(folder)), format_(&format), entries_(format) {}

    // Reads every entry afresh and calls `visit` with each entry's URL, in file name order.
    // Files that are not entries, or cannot be read, are passed over.
    void scan(const std::function<void(const std::string& url)>& visit);

    // Deletes the entries of the last scan whose URL is `url`: the key file, then its
    // companions. An entry whose key file cannot be deleted is left whole.
    void remove(const std::string& url);

  private:
    UniqueFd folder_;
    const cache::CacheFormat* format_;
    cache::CacheEntries entries_;
};

}  // namespace vidor::platform::linux_
