#include "platform/cache/ChromiumCache.h"

#include <gtest/gtest.h>

namespace vidor::platform::cache {
namespace {

// Whole entry files, and the common key forms, are read in LinuxWebCache_test.
TEST(ChromiumCacheTest, KeysGiveTheirUrlAfterTheirPrefixes) {
    EXPECT_EQ(
        chromiumKeyUrl(
            "1/0/_dk_s_https://top.example https://frame.example https://frame.example/f.html"),
        "https://frame.example/f.html");
    EXPECT_EQ(chromiumKeyUrl("12/https://upload.example/post"), "https://upload.example/post");
    // Nothing after the prefix; a partitioned key without its URL, or with an empty one; a
    // space; a prefix without its number; no scheme.
    for (const char* key :
         {"0/", "1/0/_dk_https://no-space.example", "1/0/_dk_https://a.example https://a.example ",
          "two words", "/https://empty-number.example/", "0/not-a-url"}) {
        EXPECT_EQ(chromiumKeyUrl(key), std::nullopt) << key;
    }
}

TEST(ChromiumCacheTest, OnlyTheFirstFileOfAnEntryHoldsItsKey) {
    const ChromiumCache chromium;
    EXPECT_TRUE(chromium.isEntryFile("0123456789abcdef_0"));
    EXPECT_TRUE(chromium.isEntryFile("0123456789ABCDEF_0"));
    for (const char* name : {"0123456789abcdef_s", "0123456789abcdef", "0123456789abcde_0",
                             "0123456789abcdef0_0", "0123456789abcdeg_0"}) {
        EXPECT_FALSE(chromium.isEntryFile(name)) << name;
    }
    EXPECT_EQ(chromium.companions("0123456789abcdef_0"),
              (std::vector<std::string>{"0123456789abcdef_1", "0123456789abcdef_s"}));
}

}  // namespace
}  // namespace vidor::platform::cache
