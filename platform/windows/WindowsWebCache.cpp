#include "platform/windows/WindowsWebCache.h"

#include <windows.h>

#include <array>

#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"
#include "platform/windows/WindowsFolder.h"

namespace vidor::platform::windows {

namespace {

using cache::CacheFamily;

constexpr std::array<cache::BrowserFolder, 6> kBrowsers = {{
    {"Mozilla/Firefox/Profiles", CacheFamily::Firefox},
    {"Chromium/User Data", CacheFamily::Chromium},
    {"Google/Chrome/User Data", CacheFamily::Chromium},
    {"BraveSoftware/Brave-Browser/User Data", CacheFamily::Chromium},
    {"Microsoft/Edge/User Data", CacheFamily::Chromium},
    {"Vivaldi/User Data", CacheFamily::Chromium},
}};

}  // namespace

WindowsWebCache::WindowsWebCache() : BrowserCaches(kBrowsers) {}

void WindowsWebCache::enumerate(const std::function<void(const CacheEntry&)>& visit) {
    winInet_.enumerate(visit);
    BrowserCaches::enumerate(visit);
}

void WindowsWebCache::remove(const std::string& url) {
    winInet_.remove(url);
    BrowserCaches::remove(url);
}

std::unique_ptr<Folder> WindowsWebCache::openCacheFolder() {
    // %LOCALAPPDATA%; the browsers' folders below it are opened from its handle.
    wchar_t path[32768];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", path, 32768);
    if (length == 0 || length >= 32768) return nullptr;
    DWORD code = 0;
    Handle folder = openFolderPath(longPath(narrow(std::wstring_view(path, length))), code);
    HandleFacts facts;
    if (!folder || !factsOf(folder.get(), facts)) return nullptr;
    return std::make_unique<WindowsFolder>(std::move(folder), facts.volume, false);
}

}  // namespace vidor::platform::windows
