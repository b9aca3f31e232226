#include "platform/linux/LinuxWebCache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/platform/WebCacheFixture.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using test::ChromiumEntry;
using test::FirefoxEntry;
using Urls = std::vector<std::string>;
using test::Files;
using test::put;
using test::snapshot;

using LinuxWebCacheTest = test::WebCacheFixture;

TEST_F(LinuxWebCacheTest, SymbolicLinksAreNeverFollowedNorPipesOpenedWhereverTheCacheIs) {
    // Entries outside the cache, reached by a link to an entry file, to a profile, to a
    // profile's cache folder, to a browser's folder and to the folder above it.
    const fs::path outside = sandbox / "outside";
    const std::string url = "https://outside.example/";
    const fs::path ffProfile = outside / "ff-profile";
    put(ffProfile / "cache2" / "entries" / test::firefoxName(1), FirefoxEntry{":" + url}.bytes());
    for (const std::string browser : {"browser", "Brave-Browser"}) {
        put(test::chromiumEntries(outside, browser, "Default") / test::chromiumName(1),
            ChromiumEntry{url}.bytes());
    }
    const fs::path mozilla = cache / "mozilla" / "firefox";
    firefox("real", 3, ":https://inside.example/");
    // A named pipe among the entries, which a reader opening it would wait on for ever.
    ASSERT_EQ(::mkfifo((test::firefoxEntries(cache, "real") / test::firefoxName(4)).c_str(), 0600),
              0);
    fs::create_symlink(ffProfile / "cache2" / "entries" / test::firefoxName(1),
                       mozilla / "real" / "cache2" / "entries" / test::firefoxName(2));
    fs::create_directory_symlink(ffProfile, mozilla / "linked-profile");
    fs::create_directories(cache / "google-chrome" / "Default");
    fs::create_directory_symlink(outside / "browser" / "Default" / "Cache",
                                 cache / "google-chrome" / "Default" / "Cache");
    fs::create_directory_symlink(outside, cache / "BraveSoftware");
    const Files before = snapshot(sandbox.dir().path());

    EXPECT_EQ(listed(), (Urls{"https://inside.example/"}));
    LinuxWebCache().remove(url);
    EXPECT_EQ(snapshot(sandbox.dir().path()), before);

    // Without XDG_CACHE_HOME, as on most desktops, the cache folder is in the home folder.
    sandbox.setEnv("XDG_CACHE_HOME", std::nullopt);
    sandbox.setEnv("HOME", (sandbox / "home").string());
    fs::create_directories(sandbox / "home");
    fs::rename(cache, sandbox / "home" / ".cache");
    EXPECT_EQ(listed(), (Urls{"https://inside.example/"}));
}

}  // namespace
}  // namespace vidor::platform::linux_
