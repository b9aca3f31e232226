#include "platform/windows/DiskCacheStore.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/cache/ChromiumCache.h"
#include "platform/cache/FirefoxCache.h"
#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

const cache::FirefoxCache kFirefox;
const cache::ChromiumCache kChromium;
const std::array<const cache::CacheFormat*, 2> kFormats = {&kFirefox, &kChromium};

// A cache file opened by handle, never through a link.
class HandleCacheFile final : public cache::CacheFile {
  public:
    HandleCacheFile(Handle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
    std::uint64_t size() const override { return size_; }
    std::optional<std::string> readAt(std::uint64_t offset, std::size_t count) const override {
        std::string bytes(count, '\0');
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(count), &read, &at) ||
            read != count) {
            return std::nullopt;
        }
        return bytes;
    }

  private:
    Handle file_;
    std::uint64_t size_;
};

std::optional<HandleCacheFile> openCacheFile(WindowsFolder& folder, const std::string& name) {
    DWORD code = 0;
    Handle file = openRelative(folder.handle(), widen(name), FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                               OpenKind::File, code);
    HandleFacts facts;
    LARGE_INTEGER size;
    if (!file || !factsOf(file.get(), facts) || (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !::GetFileSizeEx(file.get(), &size)) {
        return std::nullopt;
    }
    return HandleCacheFile(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

// The names of the entries of `kind` in `folder`, in byte order.
std::vector<std::string> sortedNames(WindowsFolder& folder, EntryKind kind) {
    std::vector<std::string> names;
    FolderEntry entry;
    while (folder.next(entry)) {
        if (entry.kind == kind) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The folder `path` (names separated by "/") below `from`; null when one is missing or a link.
std::unique_ptr<WindowsFolder> openBelow(WindowsFolder& from, std::string_view path) {
    std::unique_ptr<WindowsFolder> folder;
    FolderError error;
    while (!path.empty()) {
        const std::size_t slash = std::min(path.find('/'), path.size());
        folder = (folder ? *folder : from).open(path.substr(0, slash), error);
        if (!folder) return nullptr;
        path.remove_prefix(std::min(slash + 1, path.size()));
    }
    return folder;
}

}  // namespace

void DiskCacheStore::scan(const std::function<void(const std::string& url)>& visit) {
    folder_->rewind();
    entries_.scan(
        sortedNames(*folder_, EntryKind::File),
        [this](const std::string& name) -> std::optional<std::string> {
            const auto file = openCacheFile(*folder_, name);
            return file ? format_->entryUrl(*file) : std::nullopt;
        },
        visit);
}

void DiskCacheStore::remove(const std::string& url) {
    entries_.remove(url, [this](const std::string& name) {
        const unsigned long code = folder_->remove(name);
        return code == 0 || code == ERROR_FILE_NOT_FOUND;
    });
}

std::vector<DiskCacheStore> findDiskCaches(WindowsFolder& cacheRoot) {
    std::vector<DiskCacheStore> stores;
    for (const cache::CacheFormat* format : kFormats) {
        for (const std::string_view browser : format->browserFolders()) {
            auto profiles = openBelow(cacheRoot, browser);
            if (!profiles) continue;
            for (const std::string& profile : sortedNames(*profiles, EntryKind::Folder)) {
                auto entries =
                    openBelow(*profiles, profile + "/" + std::string(format->entriesFolder()));
                if (entries) stores.emplace_back(std::move(entries), *format);
            }
        }
    }
    return stores;
}

}  // namespace vidor::platform::windows
