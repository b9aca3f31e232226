// What the program expects of the web cache of every machine: the browsers' disk caches, read
// and cleared by the backend of the system the tests are built for.

#include "platform/cache/CacheFormat.h"
#include "tests/platform/WebCacheFixture.h"

namespace vidor::platform {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;
using BrowserCachesTest = test::WebCacheFixture;
using test::ChromiumEntry;
using test::Files;
using test::FirefoxEntry;
using test::put;
using test::snapshot;

TEST_F(BrowserCachesTest, ListsEveryProfileOfEveryBrowserInOrder) {
    // Written out of order: the listing must not depend on the order the folders give. Firefox
    // comes first, then the Chromium browsers; "Profile 10" comes before "Profile 2".
    chromium("vivaldi", "Default", 1, "https://vivaldi.example/");
    chromium("microsoft-edge", "Default", 2, "https://edge.example/");
    chromium("BraveSoftware/Brave-Browser", "Default", 5, "https://brave.example/");
    chromium("google-chrome", "Profile 2", 1, "0/https://chrome-2.example/");
    chromium("google-chrome", "Profile 10", 1, "https://chrome-10.example/");
    chromium("google-chrome", "Default", 9, "https://chrome-9.example/");
    chromium("google-chrome", "Default", 3, "https://chrome-3.example/");
    chromium("chromium", "Default", 4, "https://chromium.example/Cookie");
    firefox("zz.default-release", 0x20, "a,:https://ff-zz-20.example/");
    firefox("zz.default-release", 0x1f, "O^userContextId=1,:https://ff-zz-1f.example/");
    firefox("ab12.dev-edition", 7, "p,:https://ff-ab.example/Cookie:x");
    // Profiles without entries, and other folders of the browsers, come before some entries.
    fs::create_directories(test::firefoxEntries(cache, "aa.empty"));
    fs::create_directories(cache / test::browserProfiles("mozilla/firefox") / "aa.no-cache");
    fs::create_directories(test::chromiumEntries(cache, "chromium", "Aaa"));
    fs::create_directories(cache / test::browserProfiles("google-chrome") / "Default" /
                           "Code Cache");

    EXPECT_EQ(listed(), (Urls{"https://ff-ab.example/Cookie:x", "https://ff-zz-1f.example/",
                              "https://ff-zz-20.example/", "https://chromium.example/Cookie",
                              "https://chrome-3.example/", "https://chrome-9.example/",
                              "https://chrome-10.example/", "https://chrome-2.example/",
                              "https://brave.example/", "https://edge.example/",
                              "https://vivaldi.example/"}));
}

TEST_F(BrowserCachesTest, RemoveDeletesTheFilesOfEveryEntryOfThatUrlAndNothingElse) {
    const std::string url = "https://shared.example/lib.js";
    const fs::path cr = test::chromiumEntries(cache, "google-chrome", "Default");
    const std::vector<fs::path> gone = {
        firefox("one", 1, "a,:" + url),
        firefox("two", 1, "O^x=a,,b,:" + url),
        chromium("google-chrome", "Default", 1, "1/0/_dk_https://s.example https://s.ex " + url),
        put(cr / test::chromiumName(1, '1'), "stream 2"),
        put(cr / test::chromiumName(1, 's'), "sparse data"),
        chromium("microsoft-edge", "Default", 1, "0/" + url),  // an entry without companions
    };
    firefox("one", 2, "a,:" + url + "?v=2");
    firefox("two", 2, ":https://Shared.example/lib.js");
    chromium("google-chrome", "Default", 2, "https://shared.example/lib.j");
    put(cr / test::chromiumName(2, '1'), "stream 2 of another entry");
    put(cr / test::chromiumName(3, 's'), "sparse data without its entry");
    const Files expected = without(snapshot(cache), gone);

    // Without an earlier listing, the caches are read first.
    test::TestWebCache().remove(url);
    EXPECT_EQ(snapshot(cache), expected);

    // After a listing, the entries it found are deleted.
    test::TestWebCache webCache;
    webCache.enumerate([](const CacheEntry&) {});
    webCache.remove("https://shared.example/lib.j");
    webCache.remove("https://Shared.example/lib.js");
    EXPECT_EQ(listed(), (Urls{url + "?v=2"}));
    EXPECT_FALSE(fs::exists(cr / test::chromiumName(2, '1')));
    EXPECT_TRUE(fs::exists(cr / test::chromiumName(3, 's')));
}

TEST_F(BrowserCachesTest, WholeEntriesOfEveryShapeAreListedAndNothingElseIsTouched) {
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
    // to delete, a stream without its key file.
    put(ff.parent_path() / "index", "index of the entries");
    put(ff / "ABCDEF", FirefoxEntry{key}.bytes());
    fs::create_directories(ff / test::firefoxName(200));
    put(cr / "index", "index");
    put(cr / "index-dir" / "the-real-index", "index");
    put(cr / ("todelete_" + test::chromiumName(2)), ChromiumEntry{url}.bytes());
    put(cr / test::chromiumName(5, '1'), "stream without its key file");
    const Files before = snapshot(cache);

    EXPECT_EQ(listed(), urls);
    test::TestWebCache webCache;
    for (const std::string& gone : urls) webCache.remove(gone);
    webCache.remove(url);
    EXPECT_EQ(snapshot(cache), without(before, entries));
    EXPECT_TRUE(listed().empty());
}

}  // namespace
}  // namespace vidor::platform
