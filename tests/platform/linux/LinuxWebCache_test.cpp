#include "platform/linux/LinuxWebCache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/cache/CacheFormat.h"
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

TEST_F(LinuxWebCacheTest, WholeEntriesOfEveryShapeAreListedAndNothingElseIsTouched) {
    const fs::path ff = test::firefoxEntries(cache, "p.default");
    const fs::path cr = test::chromiumEntries(cache, "google-chrome", "Default");
    // Firefox hashes the data by chunks: none for no data, one up to 256 KiB, one more for any
    // byte beyond. Version 1 has no word of flags before the key.
    const std::pair<std::size_t, std::uint32_t> shapes[] = {{0, 3},      {1, 3},   {262144, 3},
                                                            {262145, 3}, {100, 1}, {100, 2}};
    Urls urls;
    std::vector<fs::path> entries;
    for (const auto& [dataSize, version] : shapes) {
        urls.push_back("https://ff-" + std::to_string(urls.size()) + ".example/");
        const FirefoxEntry entry{
            .key = ":" + urls.back(), .dataSize = dataSize, .version = version};
        entries.push_back(put(ff / test::firefoxName(urls.size()), entry.bytes()));
    }
    // Keys as long as allowed are read whole.
    const std::string longUrl =
        "https://example.org/" + std::string(cache::kMaxCacheKeySize - 21, 'q');
    entries.push_back(put(ff / test::firefoxName(99), FirefoxEntry{":" + longUrl}.bytes()));
    entries.push_back(put(cr / test::chromiumName(1), ChromiumEntry{longUrl + "q"}.bytes()));
    urls.insert(urls.end(), {longUrl, longUrl + "q"});

    // Damaged Firefox files: cut at either end; the metadata's offset beyond the end or inside
    // the data; the key's size huge or beyond the end; version 0; no NUL after the key; a key
    // longer than any browser writes, though the file holds it.
    const std::string url = "https://hidden.example/", key = ":" + url;
    const std::string bytes = FirefoxEntry{.key = key, .dataSize = 300000}.bytes();
    unsigned n = 100;
    for (const std::string& damaged :
         {std::string(), bytes.substr(0, bytes.size() - 1), bytes.substr(1),
          FirefoxEntry{.key = key, .offset = 0x7fffffff}.bytes(),
          FirefoxEntry{.key = key, .offset = 92}.bytes(),
          FirefoxEntry{.key = key, .keySize = 0xffffffff}.bytes(),
          FirefoxEntry{.key = key, .keySize = 1000}.bytes(),
          FirefoxEntry{.key = key, .version = 0}.bytes(),
          FirefoxEntry{.key = key, .keyEndsWithNul = false}.bytes(),
          FirefoxEntry{":" + longUrl + "q"}.bytes()}) {
        put(ff / test::firefoxName(n++), damaged);
    }
    // Damaged Chromium files: a header cut short; the key's length huge or beyond the end; the
    // magic number one bit off; a key longer than any browser writes.
    const std::string header = ChromiumEntry{url}.bytes().substr(0, 24);
    for (const std::string& damaged :
         {header.substr(0, 23), header + url.substr(0, url.size() - 1),
          ChromiumEntry{.key = url, .keyLength = 0xffffffff}.bytes(),
          ChromiumEntry{.key = url, .keyLength = 99}.bytes(),
          ChromiumEntry{.key = url, .magic = 0xfcfb6d1ba7725c31}.bytes(),
          ChromiumEntry{longUrl + "qq"}.bytes()}) {
        put(cr / test::chromiumName(n++), damaged);
    }
    // Files that are not entries: indexes, a short name, a folder, a file the browser is about
    // to delete, a stream without its key file, a named pipe.
    put(ff.parent_path() / "index", "index of the entries");
    put(ff / "ABCDEF", FirefoxEntry{key}.bytes());
    fs::create_directories(ff / test::firefoxName(200));
    put(cr / "index", "index");
    put(cr / "index-dir" / "the-real-index", "index");
    put(cr / ("todelete_" + test::chromiumName(2)), ChromiumEntry{url}.bytes());
    put(cr / test::chromiumName(5, '1'), "stream without its key file");
    ASSERT_EQ(::mkfifo((cr / test::chromiumName(6)).c_str(), 0600), 0);
    const Files before = snapshot(cache);

    EXPECT_EQ(listed(), urls);
    LinuxWebCache webCache;
    for (const std::string& gone : urls) webCache.remove(gone);
    webCache.remove(url);
    EXPECT_EQ(snapshot(cache), without(before, entries));
    EXPECT_TRUE(listed().empty());
}

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

TEST_F(LinuxWebCacheTest, SymbolicLinksAreNeverFollowed) {
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
