#include "platform/cache/FirefoxCache.h"

#include <gtest/gtest.h>

namespace vidor::platform::cache {
namespace {

// Whole entry files, and the common tags, are read in LinuxWebCache_test.
TEST(FirefoxCacheTest, KeyTagsComeBeforeTheUrl) {
    // Every kind of tag; a doubled comma is a comma of a tag's value, not its end; after the
    // ":" tag nothing more is parsed: commas and colons belong to the URL.
    EXPECT_EQ(firefoxKeyUrl("a,p,O^privateBrowsingId=1,~12,b,i0,:https://all.example/x"),
              "https://all.example/x");
    EXPECT_EQ(firefoxKeyUrl("O^firstPartyDomain=a,,b:c,a,:https://fpi.example/"),
              "https://fpi.example/");
    EXPECT_EQ(firefoxKeyUrl("a,:https://x.example/a,b:c?d=e,f"), "https://x.example/a,b:c?d=e,f");
    // No ":" tag; "h" as a tag without its comma; "a" with a value; "i" without digits or with
    // more than digits; a tag ended by a doubled comma; URLs without a scheme, starting with a
    // digit, or broken by a control character.
    for (const char* key :
         {"", ":", "a,", "http://no-tags.example/", "ax,:http://x.example/", "i,:http://x.example/",
          "i12x,:http://x.example/", "O^a,,:http://x.example/", "a,:://no-scheme",
          "a,:1http://digit-first.example/", "a,:http://line\nbreak.example/"}) {
        EXPECT_EQ(firefoxKeyUrl(key), std::nullopt) << key;
    }
}

TEST(FirefoxCacheTest, EntryFilesAreNamedByFortyHexDigits) {
    const FirefoxCache firefox;
    const std::string name = "0123456789ABCDEF0123456789abcdef01234567";
    EXPECT_TRUE(firefox.isEntryFile(name));
    for (const std::string& other : {name.substr(1), name + "0", name.substr(1) + "G"}) {
        EXPECT_FALSE(firefox.isEntryFile(other)) << other;
    }
    EXPECT_TRUE(firefox.companions(name).empty());
}

}  // namespace
}  // namespace vidor::platform::cache
