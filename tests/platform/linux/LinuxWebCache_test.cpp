#include "platform/linux/LinuxWebCache.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tests/platform/linux/CacheFixtures.h"
#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using test::ChromiumEntry;
using test::FirefoxEntry;

// Every file below `root` with its contents (a link with its target), to see what changed.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::file_status status = entry.symlink_status();
        const std::string name = fs::relative(entry.path(), root).string();
        if (fs::is_symlink(status))
            files[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
            files[name] = test::readFile(entry.path());
        else if (!fs::is_directory(status))
            files[name] = "(special file)";
    }
    return files;
}

// Runs `work` as a user who may not delete from a read-only folder. Root may delete anything,
// so under root `work` runs in a forked child that first becomes nobody:nogroup without
// supplementary groups (as `setpriv --reuid=nobody --regid=nogroup --clear-groups` would);
// under any other user it runs here. False when the child could not become that user.
bool runUnprivileged(const std::function<void()>& work) {
    if (::geteuid() != 0) {
        work();
        return true;
    }
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody) return false;
    const group* nogroup = ::getgrnam("nogroup");
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nogroup ? nogroup->gr_gid : nobody->pw_gid;
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0;
        if (dropped) work();
        ::_exit(dropped ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

class LinuxWebCacheTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox;

    fs::path cache() const { return sandbox / "CACHE_HOME"; }

    std::vector<std::string> listed() {
        std::vector<std::string> urls;
        LinuxWebCache().enumerate([&urls](const CacheEntry& entry) {
            EXPECT_EQ(entry.type, kCacheEntryNormal);
            urls.push_back(entry.url);
        });
        return urls;
    }

    fs::path firefox(const std::string& profile, unsigned n, const std::string& key) {
        const fs::path file = test::firefoxEntries(cache(), profile) / test::firefoxName(n);
        test::writeFile(file, FirefoxEntry{.key = key}.bytes());
        return file;
    }

    fs::path chromium(const std::string& browser, const std::string& profile, unsigned n,
                      const std::string& key) {
        const fs::path file =
            test::chromiumEntries(cache(), browser, profile) / test::chromiumName(n);
        test::writeFile(file, ChromiumEntry{.key = key}.bytes());
        return file;
    }
};

TEST_F(LinuxWebCacheTest, ListsEveryProfileOfEveryBrowserInOrder) {
    // Written out of order: the listing must not depend on the order the folders give.
    chromium("vivaldi", "Default", 1, "https://vivaldi.example/");
    chromium("microsoft-edge", "Default", 2,
             "1/0/_dk_https://e.example https://e.example "
             "https://edge.example/");
    chromium("BraveSoftware/Brave-Browser", "Default", 5, "https://brave.example/");
    chromium("google-chrome", "Profile 2", 1, "0/https://chrome-2.example/");
    chromium("google-chrome", "Profile 10", 1, "https://chrome-10.example/");
    chromium("google-chrome", "Default", 9,
             "1/0/_dk_https://s.example https://s.example "
             "https://chrome-9.example/");
    chromium("google-chrome", "Default", 3, "https://chrome-3.example/");
    chromium("chromium", "Default", 4, "https://chromium.example/Cookie");
    firefox("zz.default-release", 0x20, "a,:https://ff-zz-20.example/");
    firefox("zz.default-release", 0x1f, "O^userContextId=1,:https://ff-zz-1f.example/");
    firefox("ab12.dev-edition", 7, "p,:https://ff-ab.example/Cookie:x");

    EXPECT_EQ(listed(), (std::vector<std::string>{
                            "https://ff-ab.example/Cookie:x",
                            "https://ff-zz-1f.example/",
                            "https://ff-zz-20.example/",
                            "https://chromium.example/Cookie",
                            "https://chrome-3.example/",
                            "https://chrome-9.example/",
                            "https://chrome-10.example/",  // "Profile 10" comes before "Profile 2"
                            "https://chrome-2.example/",
                            "https://brave.example/",
                            "https://edge.example/",
                            "https://vivaldi.example/",
                        }));
}

TEST_F(LinuxWebCacheTest, FilesThatAreNotEntriesAreNeitherListedNorDeleted) {
    const fs::path ff = test::firefoxEntries(cache(), "p.default");
    const fs::path cr = test::chromiumEntries(cache(), "google-chrome", "Default");
    const std::string url = "https://hidden.example/";
    const fs::path goodFirefox = firefox("p.default", 1, ":https://good-ff.example/");
    const fs::path goodChromium =
        chromium("google-chrome", "Default", 1, "https://good-cr.example/");
    test::writeFile(ff / test::firefoxName(2), FirefoxEntry{.key = ":" + url}.bytes().substr(3));
    test::writeFile(ff.parent_path() / "index", "index of the entries");
    test::writeFile(ff / "ABCDEF", FirefoxEntry{.key = ":" + url}.bytes());
    fs::create_directories(ff / test::firefoxName(3));
    test::writeFile(cr / "index", "index");
    test::writeFile(cr / "index-dir" / "the-real-index", "index");
    test::writeFile(cr / ("todelete_" + test::chromiumName(2)), ChromiumEntry{.key = url}.bytes());
    test::writeFile(cr / test::chromiumName(3), ChromiumEntry{.key = url, .magic = 1}.bytes());
    test::writeFile(cr / test::chromiumName(4), ChromiumEntry{.key = url, .keyLength = 99}.bytes());
    test::writeFile(cr / test::chromiumName(5, '1'), "stream without its key file");
    ASSERT_EQ(::mkfifo((cr / test::chromiumName(6)).c_str(), 0600), 0);
    const auto before = snapshot(cache());

    EXPECT_EQ(listed(),
              (std::vector<std::string>{"https://good-ff.example/", "https://good-cr.example/"}));
    LinuxWebCache webCache;
    webCache.remove(url);
    webCache.remove("https://good-ff.example/");
    webCache.remove("https://good-cr.example/");
    auto expected = before;
    expected.erase(fs::relative(goodFirefox, cache()).string());
    expected.erase(fs::relative(goodChromium, cache()).string());
    EXPECT_EQ(snapshot(cache()), expected);
    EXPECT_TRUE(listed().empty());
}

TEST_F(LinuxWebCacheTest, RemoveDeletesTheFilesOfEveryEntryOfThatUrlAndNothingElse) {
    const std::string url = "https://shared.example/lib.js";
    const fs::path cr = test::chromiumEntries(cache(), "google-chrome", "Default");
    const fs::path gone[] = {
        firefox("one", 1, "a,:" + url),
        firefox("two", 1, "O^x=a,,b,:" + url),
        chromium("google-chrome", "Default", 1, "1/0/_dk_https://s.example https://s.ex " + url),
        cr / test::chromiumName(1, '1'),
        cr / test::chromiumName(1, 's'),
        chromium("microsoft-edge", "Default", 1, "0/" + url),  // an entry without companions
    };
    test::writeFile(gone[3], "stream 2");
    test::writeFile(gone[4], "sparse data");
    firefox("one", 2, "a,:" + url + "?v=2");
    firefox("two", 2, ":https://Shared.example/lib.js");
    chromium("google-chrome", "Default", 2, "https://shared.example/lib.j");
    test::writeFile(cr / test::chromiumName(2, '1'), "stream 2 of another entry");
    test::writeFile(cr / test::chromiumName(3, 's'), "sparse data without its entry");
    auto expected = snapshot(cache());
    for (const fs::path& file : gone) expected.erase(fs::relative(file, cache()).string());

    // Without an earlier listing, the caches are read first.
    LinuxWebCache().remove(url);
    EXPECT_EQ(snapshot(cache()), expected);

    // After a listing, the entries it found are deleted.
    LinuxWebCache webCache;
    webCache.enumerate([](const CacheEntry&) {});
    webCache.remove("https://shared.example/lib.j");
    webCache.remove("https://Shared.example/lib.js");
    EXPECT_EQ(listed(), (std::vector<std::string>{url + "?v=2"}));
    EXPECT_FALSE(fs::exists(cr / test::chromiumName(2, '1')));
    EXPECT_TRUE(fs::exists(cr / test::chromiumName(3, 's')));
}

TEST_F(LinuxWebCacheTest, ARefusedDeletionLeavesTheEntryListed) {
    // The same URL in a folder anyone may write and in a read-only one. Root ignores access
    // rights, so under root this test runs the removal in a forked child that has become
    // nobody:nogroup (see runUnprivileged); under any other user it runs in this process.
    const std::string url = "https://refused.example/";
    const fs::path deleted = firefox("open", 1, "a,:" + url);
    const fs::path kept = chromium("chromium", "Default", 1, "0/" + url);
    test::writeFile(kept.parent_path() / test::chromiumName(1, '1'), "stream 2");
    for (const auto& entry : fs::recursive_directory_iterator(sandbox.dir().path())) {
        fs::permissions(entry.path(), fs::perms::others_read | fs::perms::others_exec,
                        fs::perm_options::add);
    }
    fs::permissions(sandbox.dir().path(), fs::perms::others_exec, fs::perm_options::add);
    fs::permissions(deleted.parent_path(), fs::perms::all);
    fs::permissions(kept.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::others_read | fs::perms::others_exec);

    ASSERT_TRUE(runUnprivileged([&url] { LinuxWebCache().remove(url); }));
    EXPECT_FALSE(fs::exists(deleted));  // the removal did reach the caches
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(kept.parent_path() / test::chromiumName(1, '1')));
    EXPECT_EQ(listed(), (std::vector<std::string>{url}));
}

TEST_F(LinuxWebCacheTest, AnEmptyOrAbsentCacheListsNothing) {
    EXPECT_TRUE(listed().empty());
    fs::create_directories(test::firefoxEntries(cache(), "empty.default"));
    fs::create_directories(cache() / "mozilla" / "firefox" / "no-cache.default");
    fs::create_directories(test::chromiumEntries(cache(), "chromium", "Default"));
    fs::create_directories(cache() / "google-chrome" / "Default" / "Code Cache");
    EXPECT_TRUE(listed().empty());

    sandbox.setEnv("XDG_CACHE_HOME", (sandbox / "missing").string());
    EXPECT_TRUE(listed().empty());
    LinuxWebCache().remove("https://any.example/");
    EXPECT_FALSE(fs::exists(sandbox / "missing"));
}

TEST_F(LinuxWebCacheTest, TheCacheFolderIsInTheHomeFolderByDefault) {
    firefox("p.default", 1, ":https://home.example/");
    sandbox.setEnv("XDG_CACHE_HOME", std::nullopt);
    sandbox.setEnv("HOME", (sandbox / "home").string());
    EXPECT_TRUE(listed().empty());
    fs::create_directories(sandbox / "home");
    fs::rename(cache(), sandbox / "home" / ".cache");
    EXPECT_EQ(listed(), (std::vector<std::string>{"https://home.example/"}));
}

TEST_F(LinuxWebCacheTest, SymbolicLinksAreNeverFollowed) {
    const fs::path outside = sandbox / "outside";
    const std::string url = "https://outside.example/";
    const fs::path ffProfile = outside / "ff-profile";
    test::writeFile(ffProfile / "cache2" / "entries" / test::firefoxName(1),
                    FirefoxEntry{.key = ":" + url}.bytes());
    for (const std::string browser : {"browser", "Brave-Browser"}) {
        test::writeFile(test::chromiumEntries(outside, browser, "Default") / test::chromiumName(1),
                        ChromiumEntry{.key = url}.bytes());
    }
    const fs::path crProfile = outside / "browser" / "Default";
    const fs::path mozilla = cache() / "mozilla" / "firefox";
    firefox("real", 3, ":https://inside.example/");
    fs::create_symlink(ffProfile / "cache2" / "entries" / test::firefoxName(1),
                       mozilla / "real" / "cache2" / "entries" / test::firefoxName(2));
    fs::create_directory_symlink(ffProfile, mozilla / "linked-profile");
    fs::create_directories(cache() / "google-chrome" / "Default");
    fs::create_directory_symlink(crProfile / "Cache",
                                 cache() / "google-chrome" / "Default" / "Cache");
    fs::create_directory_symlink(outside / "browser", cache() / "vivaldi");
    fs::create_directory_symlink(outside, cache() / "BraveSoftware");
    const auto before = snapshot(sandbox.dir().path());

    EXPECT_EQ(listed(), (std::vector<std::string>{"https://inside.example/"}));
    LinuxWebCache().remove(url);
    EXPECT_EQ(snapshot(sandbox.dir().path()), before);
}

}  // namespace
}  // namespace vidor::platform::linux_
