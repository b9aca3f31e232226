#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/cache/CacheFormat.h"

namespace vidor::platform::cache {

// The entries folder of one browser profile, held open so that a deletion acts on the very
// folder that was listed, whatever happens to the paths meanwhile. It remembers which file holds
// which URL, so that deleting one URL reads no file.
class CacheStore {
  public:
    // `format` must outlive the store.
    CacheStore(std::unique_ptr<Folder> folder, const CacheFormat& format)
        : folder_(std::move(folder)), format_(&format) {}

    // Lists the folder and calls `visit` with each entry's URL, in file name order. Files that
    // are not entries, or cannot be read, are passed over. A folder is listed once: a store
    // serves one scan.
    void scan(const std::function<void(const std::string& url)>& visit);

    // Deletes the entries of the scan whose URL is `url`: the key file, then its companions. An
    // entry whose key file stays is left whole.
    void remove(const std::string& url);

  private:
    // True when the file `name` is gone, or was already.
    bool removeFile(const std::string& name);

    std::unique_ptr<Folder> folder_;
    const CacheFormat* format_;
    std::unordered_multimap<std::string, std::string> keyFiles_;  // by URL
};

// The names of the entries of kind `kind` of `folder`, listed to its end, in byte order.
std::vector<std::string> sortedNames(Folder& folder, EntryKind kind);

}  // namespace vidor::platform::cache
