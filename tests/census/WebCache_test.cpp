#include <gtest/gtest.h>

#include "tests/platform/cache/CacheFixtures.h"
#include "tests/support/Session.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

TEST(WebCacheTest, WithItsOptionTheCensusFirstDeletesTheCacheButCookiesTurningItsHeadingRed) {
    test::Sandbox sandbox{"C=3:c"};
    test::writeFile(sandbox.drive('C') / "a.tmp", "x");
    const fs::path firefox = test::firefoxEntries(sandbox / "CACHE_HOME", "abcd.default");
    const fs::path chromium = test::chromiumEntries(sandbox / "CACHE_HOME", "chromium", "Default");
    const fs::path keep = firefox / test::firefoxName(1), gone = firefox / test::firefoxName(2);
    const fs::path jar = chromium / test::chromiumName(2),
                   script = chromium / test::chromiumName(1);
    test::writeFile(keep, test::FirefoxEntry{"a,:https://site.example/Cookie/keep"}.bytes());
    test::writeFile(gone, test::FirefoxEntry{":https://site.example/cookie/delete"}.bytes());
    test::writeFile(script, test::ChromiumEntry{"1/0/_dk_https://a.example https://a.example "
                                                "https://a.example/x.js"}
                                .bytes());
    test::writeFile(jar, test::ChromiumEntry{"0/https://b.example/CookieJar"}.bytes());
    test::Session session;
    session.load();
    app::F_Main& form = *session.form;
    // Without the option, the cache is left alone.
    ASSERT_EQ(session.act([&] { form.bGo.press(); }), std::nullopt);
    EXPECT_EQ(form.eExec.foreColor(), platform::kBlack);
    EXPECT_TRUE(fs::exists(gone) && fs::exists(script));
    form.bAnn.press();

    form.VidorIE.setValue(1);
    std::vector<int> colours;
    Items listedAtFirstYield;
    std::string firstCaption;
    bool clearedAtFirstYield = false;
    session.windows.atYield(session.windows.yields + 1, [&] {
        colours.push_back(form.eExec.foreColor());
        listedAtFirstYield = itemsOf(form.lDel);
        firstCaption = form.eExec.caption();
        clearedAtFirstYield = !fs::exists(gone);
    });
    ASSERT_EQ(session.act([&] { form.bGo.press(); }), std::nullopt);
    // The cache step ran before the walk, without yielding, and left the heading red.
    EXPECT_EQ(colours, (std::vector<int>{platform::kRed}));
    EXPECT_TRUE(listedAtFirstYield.empty());
    EXPECT_EQ(firstCaption, "C:\\");
    EXPECT_TRUE(clearedAtFirstYield);
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\a.tmp"}));
    EXPECT_EQ(form.eExec.foreColor(), platform::kRed);
    // Only the entries whose address holds "Cookie", in that case, stay.
    EXPECT_TRUE(fs::exists(keep) && fs::exists(jar));
    EXPECT_FALSE(fs::exists(script));

    EXPECT_EQ(session.act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    EXPECT_EQ(form.eExec.foreColor(), platform::kBlack);
}

}  // namespace
}  // namespace vidor::census
