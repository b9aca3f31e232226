#include "platform/windows/WindowsWebCache.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/platform/cache/CacheFixtures.h"
#include "tests/support/TempDir.h"

namespace vidor::platform::windows {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;

// The browsers' caches of a user whose %LOCALAPPDATA% is a temp folder.
class WindowsWebCacheTest : public ::testing::Test {
  protected:
    WindowsWebCacheTest() {
        if (const char* old = std::getenv("LOCALAPPDATA")) saved = old;
        ::_putenv_s("LOCALAPPDATA", dir.path().string().c_str());
    }
    ~WindowsWebCacheTest() override { ::_putenv_s("LOCALAPPDATA", saved.c_str()); }

    // The disk cache URLs listed (WinINet's own entries left out).
    Urls listed(WindowsWebCache& cache) {
        Urls urls;
        cache.enumerate([&urls](const CacheEntry& entry) {
            if (entry.url.find("vidor.example") != std::string::npos) urls.push_back(entry.url);
        });
        return urls;
    }

    test::TempDir dir;
    std::string saved;
    const fs::path firefox =
        dir / "Mozilla" / "Firefox" / "Profiles" / "x.default" / "cache2" / "entries";
    const fs::path chrome =
        dir / "Google" / "Chrome" / "User Data" / "Default" / "Cache" / "Cache_Data";
};

TEST_F(WindowsWebCacheTest, DiskCachesAreListedAfterWinInetAndDeletedWithTheirCompanions) {
    test::writeFile(chrome / test::chromiumName(2),
                    test::ChromiumEntry{"1/0/https://vidor.example/b.js"}.bytes());
    test::writeFile(chrome / test::chromiumName(2, '1'), "données");
    test::writeFile(chrome / test::chromiumName(1),
                    test::ChromiumEntry{"1/0/https://vidor.example/a.css"}.bytes());
    test::writeFile(firefox / test::firefoxName(1),
                    test::FirefoxEntry{"a,:https://vidor.example/page.html"}.bytes());
    test::writeFile(firefox / "index", "pas une entrée");
    WindowsWebCache cache;
    EXPECT_EQ(listed(cache), (Urls{"https://vidor.example/page.html", "https://vidor.example/a.css",
                                   "https://vidor.example/b.js"}));

    cache.remove("https://vidor.example/b.js");
    EXPECT_FALSE(fs::exists(chrome / test::chromiumName(2)));
    EXPECT_FALSE(fs::exists(chrome / test::chromiumName(2, '1')));
    EXPECT_TRUE(fs::exists(chrome / test::chromiumName(1)));
    cache.remove("https://vidor.example/page.html");
    EXPECT_FALSE(fs::exists(firefox / test::firefoxName(1)));
    EXPECT_TRUE(fs::exists(firefox / "index"));
    EXPECT_EQ(listed(cache), (Urls{"https://vidor.example/a.css"}));
}

}  // namespace
}  // namespace vidor::platform::windows
