#include "platform/linux/LinuxWebCache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>

#include "platform/linux/UniqueFd.h"
#include "tests/platform/WebCacheFixture.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;
using test::put;
using test::snapshot;

using LinuxWebCacheTest = test::WebCacheFixture;

TEST_F(LinuxWebCacheTest, SymbolicLinksAreNeverFollowedWhereverTheCacheIs) {
    // Entries outside the cache, reached by a link to an entry file, to a profile, to a
    // profile's cache folder, to a browser's folder and to the folder above it.
    const fs::path outside = sandbox / "outside";
    const std::string url = "https://outside.example/";
    const fs::path ffProfile = outside / "ff-profile";
    put(ffProfile / "cache2" / "entries" / test::firefoxName(1),
        test::FirefoxEntry{":" + url}.bytes());
    for (const std::string browser : {"browser", "Brave-Browser"}) {
        put(test::chromiumEntries(outside, browser, "Default") / test::chromiumName(1),
            test::ChromiumEntry{url}.bytes());
    }
    const fs::path mozilla = cache / "mozilla" / "firefox";
    firefox("real", 3, ":https://inside.example/");
    fs::create_symlink(ffProfile / "cache2" / "entries" / test::firefoxName(1),
                       mozilla / "real" / "cache2" / "entries" / test::firefoxName(2));
    fs::create_directory_symlink(ffProfile, mozilla / "linked-profile");
    fs::create_directories(cache / "google-chrome" / "Default");
    fs::create_directory_symlink(outside / "browser" / "Default" / "Cache",
                                 cache / "google-chrome" / "Default" / "Cache");
    fs::create_directory_symlink(outside, cache / "BraveSoftware");
    const test::Files before = snapshot(sandbox.dir().path());

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

TEST_F(LinuxWebCacheTest, APipeInPlaceOfAnEntryIsPassedOverWithoutWaitingForAWriter) {
    firefox("real", 1, ":https://inside.example/");
    // The listing calls a pipe a file; a reader that opened it as one would wait for a writer.
    const fs::path pipe = test::firefoxEntries(cache, "real") / test::firefoxName(2);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    auto listing = std::async(std::launch::async, [this] { return listed(); });
    if (listing.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the census would hang: the cache is still read after 10 s";
        // Writers let the waiting reader go, so that the test ends.
        while (listing.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
            const UniqueFd writer(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        }
    }
    EXPECT_EQ(listing.get(), (Urls{"https://inside.example/"}));
}

}  // namespace
}  // namespace vidor::platform::linux_
