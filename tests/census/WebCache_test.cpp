#include "tests/platform/cache/CacheFixtures.h"
#include "tests/support/CensusTest.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;

using WebCacheTest = test::CensusTest;

TEST_F(WebCacheTest, WithItsOptionTheCensusFirstDeletesTheCacheButCookiesTurningItsHeadingRed) {
    test::writeFile(c / "a.tmp", "x");
    const fs::path firefox = test::firefoxEntries(sandbox / "CACHE_HOME", "abcd.default");
    const fs::path keep = firefox / test::firefoxName(1), gone = firefox / test::firefoxName(2);
    test::writeFile(keep, test::FirefoxEntry{"a,:https://site.example/Cookie/keep"}.bytes());
    test::writeFile(gone, test::FirefoxEntry{":https://site.example/cookie/delete"}.bytes());
    test::Session session;
    app::F_Main& form = *session.form;
    // Without the option, the cache is left alone.
    ASSERT_EQ(session.census(), std::nullopt);
    EXPECT_TRUE(fs::exists(gone));
    form.bAnn.press();

    bool redAndClearedAtFirstYield = false;
    session.windows.atYield(session.windows.yields + 1, [&] {
        redAndClearedAtFirstYield = form.eExec.foreColor() == platform::kRed && !fs::exists(gone);
    });
    ASSERT_EQ(session.census({.purgeInternet = true}), std::nullopt);
    // The cache step ran before the walk, without yielding, and left the heading red.
    EXPECT_TRUE(redAndClearedAtFirstYield);
    EXPECT_EQ(test::itemsOf(form.lDel), (std::vector<std::string>{"C:\\a.tmp"}));
    // Only the entries whose address holds "Cookie", in that case, stay: each browser's entries
    // are read alike below the census.
    EXPECT_TRUE(fs::exists(keep));
}

}  // namespace
}  // namespace vidor::census
