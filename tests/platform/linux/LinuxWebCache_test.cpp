#include "platform/linux/LinuxWebCache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/platform/WebCacheFixture.h"
#include "tests/support/Unprivileged.h"

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

TEST_F(LinuxWebCacheTest, ARefusedDeletionLeavesTheEntryListed) {
    // The same URL in a folder anyone may write and in a read-only one; the removal runs as the
    // user nobody, whom access rights bind even when the tests run as root.
    const std::string url = "https://refused.example/";
    const fs::path deleted = firefox("open", 1, "a,:" + url);
    const fs::path kept = chromium("chromium", "Default", 1, "0/" + url);
    const fs::path stream = put(kept.parent_path() / test::chromiumName(1, '1'), "stream 2");
    sandbox.shareWithEveryone();
    fs::permissions(kept.parent_path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);

    ASSERT_EQ(test::asUnprivileged([&url] {
                  LinuxWebCache().remove(url);
                  return 0;
              }),
              0);
    EXPECT_FALSE(fs::exists(deleted));  // the removal did reach the caches
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(stream));
    EXPECT_EQ(listed(), (Urls{url}));
}

TEST_F(LinuxWebCacheTest, TheCacheFolderIsFoundOrNothingIsListed) {
    sandbox.setEnv("XDG_CACHE_HOME", (sandbox / "missing").string());
    EXPECT_TRUE(listed().empty());
    LinuxWebCache().remove("https://any.example/");
    EXPECT_FALSE(fs::exists(sandbox / "missing"));

    // Without XDG_CACHE_HOME, the cache folder is in the home folder.
    firefox("p.default", 1, ":https://home.example/");
    sandbox.setEnv("XDG_CACHE_HOME", std::nullopt);
    sandbox.setEnv("HOME", (sandbox / "home").string());
    EXPECT_TRUE(listed().empty());
    fs::create_directories(sandbox / "home");
    fs::rename(cache, sandbox / "home" / ".cache");
    EXPECT_EQ(listed(), (Urls{"https://home.example/"}));
}

TEST_F(LinuxWebCacheTest, SymbolicLinksAreNeverFollowedNorPipesOpened) {
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
    fs::create_directory_symlink(outside / "browser", cache / "vivaldi");
    fs::create_directory_symlink(outside, cache / "BraveSoftware");
    const Files before = snapshot(sandbox.dir().path());

    EXPECT_EQ(listed(), (Urls{"https://inside.example/"}));
    LinuxWebCache().remove(url);
    EXPECT_EQ(snapshot(sandbox.dir().path()), before);
}

}  // namespace
}  // namespace vidor::platform::linux_
