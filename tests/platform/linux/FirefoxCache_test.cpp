#include "platform/linux/FirefoxCache.h"

#include <gtest/gtest.h>

#include "tests/platform/linux/CacheFixtures.h"

namespace vidor::platform::linux_ {
namespace {

using test::FirefoxEntry;

TEST(FirefoxCacheTest, KeyTagsOfEveryKindComeBeforeTheUrl) {
    const std::pair<std::string, std::string> cases[] = {
        {":http://plain.example/", "http://plain.example/"},
        {"a,:https://anonymous.example/a.js", "https://anonymous.example/a.js"},
        {"p,:https://private.example/", "https://private.example/"},
        {"O^userContextId=2,:https://container.example/", "https://container.example/"},
        // A doubled comma is a comma of the value, not the end of the tag.
        {"O^firstPartyDomain=a,,b:c,a,:https://fpi.example/", "https://fpi.example/"},
        {"~1700000000,:https://post.example/form", "https://post.example/form"},
        {"b,:http://legacy-browser.example/", "http://legacy-browser.example/"},
        {"i1007,:http://legacy-app.example/", "http://legacy-app.example/"},
        {"a,p,O^privateBrowsingId=1,~12,b,i0,:https://all.example/x", "https://all.example/x"},
        // After the ":" tag nothing more is parsed: commas and colons belong to the URL.
        {"a,:https://x.example/a,b:c?d=e,f", "https://x.example/a,b:c?d=e,f"},
        {"a,:https://Cookie.example/", "https://Cookie.example/"},
    };
    for (const auto& [key, url] : cases) EXPECT_EQ(firefoxKeyUrl(key), url) << key;
}

TEST(FirefoxCacheTest, MalformedKeysHoldNoUrl) {
    for (const std::string key : {
             "",
             ":",
             "a,",
             "a,p,",
             "http://no-tags.example/",  // "h" would be a tag without its comma
             "ax,:http://x.example/",    // "a" takes no value
             "i,:http://x.example/",     // "i" needs digits
             "i12x,:http://x.example/",
             "O^a,,:http://x.example/",  // the doubled comma does not end the tag
             "~12:http://x.example/",    // a tag's comma is missing
             "a,:not a url",
             "a,:://no-scheme",
             "a,:1http://digit-first.example/",
             "a,:http://line\nbreak.example/",
         }) {
        EXPECT_EQ(firefoxKeyUrl(key), std::nullopt) << key;
    }
}

TEST(FirefoxCacheTest, MetadataIsFoundAfterTheDataWhateverItsSize) {
    const FirefoxCache firefox;
    const std::string key = "a,:https://example.org/page";
    // The chunk hashes: none for no data, one up to 256 KiB, one more for any byte beyond.
    for (std::size_t dataSize : {0, 1, 262144, 262145, 600000}) {
        EXPECT_EQ(test::entryUrl(firefox, FirefoxEntry{.key = key, .dataSize = dataSize}.bytes()),
                  "https://example.org/page")
            << dataSize;
    }
    // Version 1 has no word of flags before the key.
    for (std::uint32_t version : {1, 2, 3}) {
        EXPECT_EQ(test::entryUrl(firefox, FirefoxEntry{.key = key, .version = version}.bytes()),
                  "https://example.org/page")
            << version;
    }
    // A key as long as allowed is read whole.
    const std::string longUrl = "https://example.org/" + std::string(kMaxCacheKeySize - 21, 'q');
    EXPECT_EQ(test::entryUrl(firefox, FirefoxEntry{.key = ":" + longUrl}.bytes()), longUrl);
}

TEST(FirefoxCacheTest, TruncatedOrDamagedFilesHoldNoEntry) {
    const FirefoxCache firefox;
    const std::string key = ":https://example.org/";
    const std::string bytes = FirefoxEntry{.key = key, .dataSize = 300000}.bytes();
    const std::string damaged[] = {
        "",
        "abc",
        bytes.substr(0, bytes.size() - 1),
        bytes.substr(1),
        FirefoxEntry{.key = key, .offset = 0x7fffffff}.bytes(),  // metadata beyond the end
        FirefoxEntry{.key = key, .offset = 92}.bytes(),          // metadata inside the data
        FirefoxEntry{.key = key, .keySize = 0xffffffff}.bytes(),
        FirefoxEntry{.key = key, .keySize = 1000}.bytes(),  // key beyond the end
        FirefoxEntry{.key = key, .version = 0}.bytes(),
        FirefoxEntry{.key = key, .keyEndsWithNul = false}.bytes(),
        // A key longer than any browser writes, though the file holds it.
        FirefoxEntry{.key = ":https://example.org/" + std::string(kMaxCacheKeySize - 20, 'q')}
            .bytes(),
    };
    for (const std::string& file : damaged) {
        EXPECT_EQ(test::entryUrl(firefox, file), std::nullopt) << file.size();
    }
}

TEST(FirefoxCacheTest, EntryFilesAreNamedByFortyHexDigits) {
    const FirefoxCache firefox;
    EXPECT_TRUE(firefox.isEntryFile("0123456789ABCDEF0123456789ABCDEF01234567"));
    EXPECT_TRUE(firefox.isEntryFile("0123456789abcdef0123456789abcdef01234567"));
    EXPECT_FALSE(firefox.isEntryFile("0123456789ABCDEF0123456789ABCDEF0123456"));
    EXPECT_FALSE(firefox.isEntryFile("0123456789ABCDEF0123456789ABCDEF012345678"));
    EXPECT_FALSE(firefox.isEntryFile("0123456789ABCDEF0123456789ABCDEF0123456G"));
    EXPECT_FALSE(firefox.isEntryFile("index"));
    EXPECT_TRUE(firefox.companions("0123456789ABCDEF0123456789ABCDEF01234567").empty());
}

}  // namespace
}  // namespace vidor::platform::linux_
