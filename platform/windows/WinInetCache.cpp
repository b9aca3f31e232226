#include "platform/windows/WinInetCache.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

// Asks with a buffer of the size the cache tells (first with none), as the cache wants;
// false at the end or on any other error.
template <typename Call>
bool fetch(std::vector<std::uint64_t>& buffer, Call&& call) {
    DWORD size = 0;
    if (call(nullptr, &size)) return true;  // not expected with no buffer
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.assign(size / sizeof(std::uint64_t) + 1, 0);
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
    return call(entry, &size);
}

}  // namespace

void WinInetCache::enumerate(const std::function<void(const CacheEntry&)>& visit) {
    std::vector<std::uint64_t> buffer;
    HANDLE find = nullptr;
    bool found = fetch(buffer, [&](INTERNET_CACHE_ENTRY_INFOW* entry, DWORD* size) {
        find = ::FindFirstUrlCacheEntryW(nullptr, entry, size);
        return find != nullptr;
    });
    while (found) {
        const auto* entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        if (entry->lpszSourceUrlName)
            visit({narrow(entry->lpszSourceUrlName),
                   static_cast<std::uint32_t>(entry->CacheEntryType)});
        found = fetch(buffer, [&](INTERNET_CACHE_ENTRY_INFOW* next, DWORD* size) {
            return ::FindNextUrlCacheEntryW(find, next, size) != 0;
        });
    }
    if (find) ::FindCloseUrlCache(find);
}

void WinInetCache::remove(const std::string& url) {
    ::DeleteUrlCacheEntryW(widen(url).c_str());
}

}  // namespace vidor::platform::windows
