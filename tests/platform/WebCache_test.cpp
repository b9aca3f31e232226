// What the program expects of the web cache of every machine: the browsers' disk caches, read
// and cleared by the backend of the system the tests are built for.

#include "tests/platform/WebCacheFixture.h"

namespace vidor::platform {
namespace {

namespace fs = std::filesystem;
using Urls = std::vector<std::string>;
using BrowserCachesTest = test::WebCacheFixture;

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
        test::put(cr / test::chromiumName(1, '1'), "stream 2"),
        test::put(cr / test::chromiumName(1, 's'), "sparse data"),
        chromium("microsoft-edge", "Default", 1, "0/" + url),  // an entry without companions
    };
    firefox("one", 2, "a,:" + url + "?v=2");
    firefox("two", 2, ":https://Shared.example/lib.js");
    chromium("google-chrome", "Default", 2, "https://shared.example/lib.j");
    test::put(cr / test::chromiumName(2, '1'), "stream 2 of another entry");
    test::put(cr / test::chromiumName(3, 's'), "sparse data without its entry");
    const test::Files expected = without(test::snapshot(cache), gone);

    // Without an earlier listing, the caches are read first.
    test::TestWebCache().remove(url);
    EXPECT_EQ(test::snapshot(cache), expected);

    // After a listing, the entries it found are deleted.
    test::TestWebCache webCache;
    webCache.enumerate([](const CacheEntry&) {});
    webCache.remove("https://shared.example/lib.j");
    webCache.remove("https://Shared.example/lib.js");
    EXPECT_EQ(listed(), (Urls{url + "?v=2"}));
    EXPECT_FALSE(fs::exists(cr / test::chromiumName(2, '1')));
    EXPECT_TRUE(fs::exists(cr / test::chromiumName(3, 's')));
}

}  // namespace
}  // namespace vidor::platform
