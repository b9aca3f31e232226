// What the program expects of the web cache of every machine: the browsers' disk caches, read
// and cleared by the backend of the system the tests are built for.

#include "tests/platform/WebCacheFixture.h"

namespace vidor::test {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;
using BrowserCachesTest = WebCacheFixture;

TEST_F(BrowserCachesTest, EveryProfileOfEveryBrowserIsListedAndRemoveTakesOnlyTheEntriesOfItsUrl) {
    const std::string url = "https://shared.example/lib.js";
    const fs::path cr = chromiumEntries(cache, "google-chrome", "Default");
    const std::vector<fs::path> gone = {
        firefox("one", 1, "a,:" + url),
        firefox("two", 1, "O^x=a,,b,:" + url),
        chromium("google-chrome", "Default", 1, "1/0/_dk_https://s.example https://s.ex " + url),
        put(cr / chromiumName(1, '1'), "stream 2"),
        put(cr / chromiumName(1, 's'), "sparse data"),
        chromium("microsoft-edge", "Default", 1, "0/" + url),  // an entry without companions
    };
    firefox("one", 2, "a,:" + url + "?v=2");
    firefox("two", 2, ":https://Shared.example/lib.js");
    chromium("google-chrome", "Default", 2, "https://shared.example/lib.j");
    put(cr / chromiumName(2, '1'), "stream 2 of another entry");
    put(cr / chromiumName(3, 's'), "sparse data without its entry");
    chromium("vivaldi", "Default", 1, "https://vivaldi.example/");
    chromium("BraveSoftware/Brave-Browser", "Default", 5, "https://brave.example/");
    chromium("chromium", "Profile 1", 4, "https://chromium.example/");
    // A profile without entries comes before the others.
    fs::create_directories(firefoxEntries(cache, "aa.empty"));
    const Files expected = without(snapshot(cache), gone);

    // Firefox comes first, then the Chromium browsers.
    EXPECT_EQ(listed(), (Urls{url, url + "?v=2", url, "https://Shared.example/lib.js",
                              "https://chromium.example/", url, "https://shared.example/lib.j",
                              "https://brave.example/", url, "https://vivaldi.example/"}));

    // Without an earlier listing, the caches are read first.
    TestWebCache().remove(url);
    EXPECT_EQ(snapshot(cache), expected);

    // After a listing, the entries it found are deleted, with the files of an entry whose key
    // file the browser deleted meanwhile.
    TestWebCache webCache;
    webCache.enumerate([](const platform::CacheEntry&) {});
    fs::remove(cr / chromiumName(2));
    webCache.remove("https://shared.example/lib.j");
    webCache.remove("https://Shared.example/lib.js");
    EXPECT_EQ(listed(), (Urls{url + "?v=2", "https://chromium.example/", "https://brave.example/",
                              "https://vivaldi.example/"}));
    EXPECT_FALSE(fs::exists(cr / chromiumName(2, '1')));
}

TEST_F(BrowserCachesTest, WholeEntriesOfEveryShapeAreListedAndNothingElseIsTouched) {
    const fs::path ff = firefoxEntries(cache, "p.default");
    const fs::path cr = chromiumEntries(cache, "google-chrome", "Default");
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
        entries.push_back(put(ff / firefoxName(urls.size()), entry.bytes()));
    }
    entries.push_back(chromium("google-chrome", "Default", 1, "https://cr.example/"));
    urls.push_back("https://cr.example/");

    // Damaged files: empty or cut short, as a browser stopped while writing leaves them; sizes
    // and offsets huge.
    const std::string url = "https://hidden.example/", key = ":" + url;
    const std::string bytes = FirefoxEntry{.key = key, .dataSize = 300000}.bytes();
    unsigned n = 100;
    for (const std::string& damaged : {std::string(), bytes.substr(0, bytes.size() - 1),
                                       FirefoxEntry{.key = key, .offset = 0x7fffffff}.bytes(),
                                       FirefoxEntry{.key = key, .keySize = 0xffffffff}.bytes()}) {
        put(ff / firefoxName(n++), damaged);
    }
    put(cr / chromiumName(n++), ChromiumEntry{url}.bytes().substr(0, 23));
    put(cr / chromiumName(n++), ChromiumEntry{.key = url, .keyLength = 0xffffffff}.bytes());
    // Files that are not entries: indexes, a file the browser is about to delete, a stream
    // without its key file.
    put(ff.parent_path() / "index", "index of the entries");
    put(cr / "index", "index");
    put(cr / ("todelete_" + chromiumName(2)), ChromiumEntry{url}.bytes());
    put(cr / chromiumName(5, '1'), "stream without its key file");
    const Files before = snapshot(cache);

    EXPECT_EQ(listed(), urls);
    TestWebCache webCache;
    for (const std::string& gone : urls) webCache.remove(gone);
    webCache.remove(url);
    EXPECT_EQ(snapshot(cache), without(before, entries));
    EXPECT_TRUE(listed().empty());
}

}  // namespace
}  // namespace vidor::test
