#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/cache/CacheFormat.h"

namespace vidor::platform::cache {

// Which file of one entries folder holds which URL, as the last scan found, so that deleting a
// URL reads no file. Each system reaches the files its own way; what is read and what is deleted
// in which order is the same everywhere.
class CacheEntries {
  public:
    // `format` must outlive the entries.
    explicit CacheEntries(const CacheFormat& format) : format_(&format) {}

    // Forgets the last scan, then reads the URL of each entry file among `names`, in their order,
    // with `urlOf` (nothing for a file that cannot be read), and calls `visit` with it.
    void scan(const std::vector<std::string>& names,
              const std::function<std::optional<std::string>(const std::string& name)>& urlOf,
              const std::function<void(const std::string& url)>& visit);

    // Deletes the entries of the last scan whose URL is `url`, each file with `removeFile`
    // (true when the file is gone, or was already): the key file, then its companions. An entry
    // whose key file stays is left whole.
    void remove(const std::string& url,
                const std::function<bool(const std::string& name)>& removeFile);

  private:
    const CacheFormat* format_;
    std::unordered_multimap<std::string, std::string> keyFiles_;  // by URL
};

}  // namespace vidor::platform::cache
