#include <gtest/gtest.h>

#include "census/CacheListe.h"
#include "platform/linux/LinuxWebCache.h"
#include "tests/platform/cache/CacheFixtures.h"
#include "tests/support/Session.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

// The browsers' caches of the sandbox: one Firefox and one Chromium profile.
class WebCacheTest : public ::testing::Test {
  protected:
    WebCacheTest() {
        entry(firefox, 1, "a,:https://site.example/Cookie/keep");
        entry(firefox, 2, ":https://site.example/cookie/delete");
        entry(chromium, 1, "1/0/_dk_https://a.example https://a.example https://a.example/x.js");
        entry(chromium, 2, "0/https://b.example/CookieJar");
        test::writeFile(firefox / "index", "not an entry");
    }
    void entry(const fs::path& folder, unsigned n, const std::string& key) {
        if (folder == firefox)
            test::writeFile(folder / test::firefoxName(n), test::FirefoxEntry{key}.bytes());
        else
            test::writeFile(folder / test::chromiumName(n), test::ChromiumEntry{key}.bytes());
    }

    test::Sandbox sandbox{"C=3:c"};
    fs::path cache = sandbox / "CACHE_HOME";
    fs::path firefox = test::firefoxEntries(cache, "abcd.default");
    fs::path chromium = test::chromiumEntries(cache, "chromium", "Default");
};

TEST_F(WebCacheTest, EveryEntryButCookiesIsDeletedAndWhatRemainsIsListed) {
    platform::linux_::LinuxWebCache cache;
    platform::ListBox lDel("lDel", {}, 0, platform::ListBox::Selection::Single);
    lDel.addItem("left from before");
    CacheListe(cache, lDel);
    EXPECT_EQ(itemsOf(lDel),
              (Items{"https://site.example/Cookie/keep", "https://site.example/cookie/delete",
                     "https://a.example/x.js", "https://b.example/CookieJar"}));
    viderCache(cache, lDel);
    EXPECT_EQ(itemsOf(lDel),
              (Items{"https://site.example/Cookie/keep", "https://b.example/CookieJar"}));
    EXPECT_EQ(lDel.listIndex(), -1);
    EXPECT_TRUE(lDel.visible());
    EXPECT_TRUE(fs::exists(firefox / test::firefoxName(1)));
    EXPECT_FALSE(fs::exists(firefox / test::firefoxName(2)));
    EXPECT_FALSE(fs::exists(chromium / test::chromiumName(1)));
    EXPECT_TRUE(fs::exists(firefox / "index"));
}

TEST_F(WebCacheTest, TheCensusClearsTheCacheFirstTurningItsHeadingRed) {
    test::writeFile(sandbox.drive('C') / "a.tmp", "x");
    test::Session session;
    session.load();
    app::F_Main& form = *session.form;
    form.VidorIE.setValue(1);
    std::vector<int> colours;
    Items listedAtFirstYield;
    std::string firstCaption;
    bool clearedAtFirstYield = false;
    session.windows.atYield(1, [&] {
        colours.push_back(form.eExec.foreColor());
        listedAtFirstYield = itemsOf(form.lDel);
        firstCaption = form.eExec.caption();
        clearedAtFirstYield = !fs::exists(firefox / test::firefoxName(2));
    });
    ASSERT_EQ(session.act([&] { form.bGo.press(); }), std::nullopt);
    // The cache step ran before the walk, without yielding, and left the heading red.
    EXPECT_EQ(colours, (std::vector<int>{platform::kRed}));
    EXPECT_TRUE(listedAtFirstYield.empty());
    EXPECT_EQ(firstCaption, "C:\\");
    EXPECT_TRUE(clearedAtFirstYield);
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\a.tmp"}));
    EXPECT_EQ(form.eExec.foreColor(), platform::kRed);
    EXPECT_FALSE(fs::exists(firefox / test::firefoxName(2)));
    EXPECT_TRUE(fs::exists(firefox / test::firefoxName(1)));

    EXPECT_EQ(session.act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    EXPECT_EQ(form.eExec.foreColor(), platform::kBlack);
}

TEST_F(WebCacheTest, WithoutTheOptionTheCacheIsLeftAlone) {
    test::writeFile(sandbox.drive('C') / "a.tmp", "x");
    test::Session session;
    session.load();
    session.act([&] { session.form->bGo.press(); });
    EXPECT_EQ(session.form->eExec.foreColor(), platform::kBlack);
    EXPECT_TRUE(fs::exists(firefox / test::firefoxName(2)));
    EXPECT_TRUE(fs::exists(chromium / test::chromiumName(1)));
}

TEST(EmptyWebCacheTest, AnAbsentCacheListsNothing) {
    test::Sandbox sandbox;
    platform::linux_::LinuxWebCache cache;
    platform::ListBox lDel("lDel", {}, 0, platform::ListBox::Selection::Single);
    viderCache(cache, lDel);
    EXPECT_EQ(lDel.count(), 0);
}

}  // namespace
}  // namespace vidor::census
