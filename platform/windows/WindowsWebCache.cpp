#include "platform/windows/WindowsWebCache.h"

#include <windows.h>

#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

// %LOCALAPPDATA%, held open; null when it is not set or cannot be opened.
std::unique_ptr<WindowsFolder> localAppData() {
    wchar_t path[32768];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", path, 32768);
    if (length == 0 || length >= 32768) return nullptr;
    DWORD code = 0;
    Handle folder = openFolderPath(longPath(narrow(std::wstring_view(path, length))), code);
    HandleFacts facts;
    if (!folder || !factsOf(folder.get(), facts)) return nullptr;
    return std::make_unique<WindowsFolder>(std::move(folder), facts.volume, false);
}

}  // namespace

void WindowsWebCache::enumerate(const std::function<void(const CacheEntry&)>& visit) {
    winInet_.enumerate(visit);
    scan([&visit](const std::string& url) { visit(CacheEntry{url, kCacheEntryNormal}); });
}

void WindowsWebCache::remove(const std::string& url) {
    winInet_.remove(url);
    if (!scanned_) scan([](const std::string&) {});
    for (DiskCacheStore& store : stores_) store.remove(url);
}

void WindowsWebCache::scan(const std::function<void(const std::string& url)>& visit) {
    const auto root = localAppData();
    stores_ = root ? findDiskCaches(*root) : std::vector<DiskCacheStore>{};
    scanned_ = true;
    for (DiskCacheStore& store : stores_) store.scan(visit);
}

}  // namespace vidor::platform::windows
