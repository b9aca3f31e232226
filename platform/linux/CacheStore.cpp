#include "platform/linux/CacheStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vidor::platform::linux_ {

void CacheStore::scan(const std::function<void(const std::string& url)>& visit) {
    entries_.scan(
        sortedNames(folder_.get(), NameKind::RegularFile),
        [this](const std::string& name) -> std::optional<std::string> {
            const auto file = openRegularFile(folder_.get(), name);
            return file ? format_->entryUrl(FdCacheFile(*file)) : std::nullopt;
        },
        visit);
}

void CacheStore::remove(const std::string& url) {
    entries_.remove(url, [this](const std::string& name) {
        return ::unlinkat(folder_.get(), name.c_str(), 0) == 0 || errno == ENOENT;
    });
}

}  // namespace vidor::platform::linux_
