#include "platform/linux/ChromiumCache.h"

#include <gtest/gtest.h>

#include "tests/platform/linux/CacheFixtures.h"

namespace vidor::platform::linux_ {
namespace {

using test::ChromiumEntry;

TEST(ChromiumCacheTest, KeysOfEveryFormGiveTheirUrl) {
    const std::pair<std::string, std::string> cases[] = {
        {"1/0/_dk_https://site.example https://site.example https://cdn.example/app.js",
         "https://cdn.example/app.js"},
        {"1/0/_dk_s_https://top.example https://frame.example https://frame.example/f.html",
         "https://frame.example/f.html"},
        {"0/https://old.example/a?b=c", "https://old.example/a?b=c"},
        {"12/https://upload.example/post", "https://upload.example/post"},
        {"https://bare.example/", "https://bare.example/"},
        {"1/0/_dk_https://a.example https://a.example https://Cookie.example/",
         "https://Cookie.example/"},
    };
    for (const auto& [key, url] : cases) EXPECT_EQ(chromiumKeyUrl(key), url) << key;

    for (const std::string key : {"", "0/", "1/0/", "1/0/_dk_https://no-space.example",
                                  "1/0/_dk_https://a.example https://a.example ", "two words",
                                  "/https://empty-number.example/", "0/not-a-url"}) {
        EXPECT_EQ(chromiumKeyUrl(key), std::nullopt) << key;
    }
}

TEST(ChromiumCacheTest, TheKeyIsReadAfterTheHeader) {
    const ChromiumCache chromium;
    EXPECT_EQ(test::entryUrl(chromium, ChromiumEntry{.key = "0/https://a.example/"}.bytes()),
              "https://a.example/");
    const std::string longUrl = "https://example.org/" + std::string(kMaxCacheKeySize - 20, 'q');
    EXPECT_EQ(test::entryUrl(chromium, ChromiumEntry{.key = longUrl}.bytes()), longUrl);

    const std::string key = "https://a.example/";
    const std::string header = ChromiumEntry{.key = key}.bytes().substr(0, 24);
    const std::string damaged[] = {
        "",
        header.substr(0, 23),
        header,  // the key is missing
        header + key.substr(0, key.size() - 1),
        ChromiumEntry{.key = key, .magic = 0xfcfb6d1ba7725c31}.bytes(),
        ChromiumEntry{.key = key, .keyLength = 0}.bytes(),
        ChromiumEntry{.key = key, .keyLength = 0xffffffff}.bytes(),
        ChromiumEntry{.key = key, .keyLength = 100000}.bytes(),
        ChromiumEntry{.key = longUrl + "q"}.bytes(),  // longer than any browser writes
    };
    for (const std::string& file : damaged) {
        EXPECT_EQ(test::entryUrl(chromium, file), std::nullopt) << file.size();
    }
}

TEST(ChromiumCacheTest, OnlyTheFirstFileOfAnEntryHoldsItsKey) {
    const ChromiumCache chromium;
    EXPECT_TRUE(chromium.isEntryFile("0123456789abcdef_0"));
    EXPECT_TRUE(chromium.isEntryFile("0123456789ABCDEF_0"));
    for (const char* name : {"0123456789abcdef_1", "0123456789abcdef_s", "0123456789abcdef",
                             "0123456789abcde_0", "0123456789abcdef0_0", "0123456789abcdeg_0",
                             "todelete_0123456789abcdef_0", "index", "the-real-index"}) {
        EXPECT_FALSE(chromium.isEntryFile(name)) << name;
    }
    EXPECT_EQ(chromium.companions("0123456789abcdef_0"),
              (std::vector<std::string>{"0123456789abcdef_1", "0123456789abcdef_s"}));
}

}  // namespace
}  // namespace vidor::platform::linux_
