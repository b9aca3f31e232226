#include "platform/windows/WinInetCache.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "platform/windows/Wide.h"
#include "platform/windows/WindowsWebCache.h"
#include "tests/support/TempDir.h"

namespace vidor::platform::windows {
namespace {

// Puts `url` in the cache as the system's browser components would.
void commit(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryW(url.c_str(), 0, L"html", file, 0)) << ::GetLastError();
    test::writeFile(file, "<p>");
    FILETIME never{};
    ASSERT_TRUE(
        ::CommitUrlCacheEntryW(url.c_str(), file, never, never, type, nullptr, 0, nullptr, nullptr))
        << ::GetLastError();
}

std::vector<std::string> listed(WebCache& cache, const std::string& prefix) {
    std::vector<std::string> urls;
    cache.enumerate([&](const CacheEntry& entry) {
        if (entry.url.find(prefix) != std::string::npos && (entry.type & kCacheEntryNormal))
            urls.push_back(entry.url);
    });
    std::sort(urls.begin(), urls.end());
    return urls;
}

TEST(WinInetCacheTest, EntriesAreListedAndDeletedByUrl) {
    const std::string host = "vidor-" + std::to_string(::GetCurrentProcessId()) + ".example";
    const std::string page = "http://" + host + "/été/page.html";
    const std::string picture = "http://" + host + "/Cookie/image.png";
    for (const std::string& url : {page, picture}) commit(widen(url), NORMAL_CACHE_ENTRY);
    WinInetCache cache;
    EXPECT_EQ(listed(cache, host), (std::vector<std::string>{picture, page}));
    cache.remove(page);
    EXPECT_EQ(listed(cache, host), (std::vector<std::string>{picture}));
    // The machine's web cache lists and deletes these entries beside the browsers' own.
    WindowsWebCache machine;
    EXPECT_EQ(listed(machine, host), (std::vector<std::string>{picture}));
    machine.remove(picture);
    EXPECT_TRUE(listed(cache, host).empty());
}

}  // namespace
}  // namespace vidor::platform::windows
