#include "platform/linux/PackageFiles.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "tests/support/ChildReport.h"
#include "tests/support/Session.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

TEST(PackageFilesTest, FilesOfInstalledPackagesAreNeitherListedNorPurged) {
    test::Sandbox sandbox("C=3:c");
    const fs::path c = sandbox.drive('C');
    // A merged /usr: packages name /lib, the walk finds the files under usr/lib.
    test::writeFile(c / "usr" / "lib" / "libnss3.chk", "package");
    fs::create_directory_symlink("usr/lib", c / "lib");
    test::writeFile(c / "usr" / "share" / "themes" / "a.old", "package");
    test::writeFile(c / "usr" / "share" / "themes" / "b.old", "user");
    test::writeFile(c / "usr" / "share" / "themes" / "c.old", "user");
    // In a purged folder, at every depth.
    test::writeFile(c / "TEMP" / "pkg.dat", "package");
    test::writeFile(c / "TEMP" / "sub" / "deeper" / "lib.dat", "package");
    test::writeFile(c / "TEMP" / "own.dat", "user");
    const fs::path dpkg = sandbox / "dpkg";
    test::writeFile(dpkg / "libnss3.list",
                    "/.\n" + (c / "lib").string() + "\n" + (c / "lib" / "libnss3.chk").string() +
                        "\n" + (c / "usr" / "share" / "themes" / "a.old").string() + "\n" +
                        (c / "TEMP" / "pkg.dat").string() + "\n" +
                        (c / "TEMP" / "sub" / "deeper" / "lib.dat").string() + "\n");

    test::Session session;
    session.machine.files().readPackageListsFrom(dpkg.string());
    session.census({.extensions = {"chk", "old"}, .toTrash = false, .purgeTemp = true});

    Items listed = test::itemsOf(session.form->lDel);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (Items{"C:\\usr\\share\\themes\\b.old", "C:\\usr\\share\\themes\\c.old"}));
    EXPECT_EQ(test::readFile(c / "TEMP" / "pkg.dat"), "package");
    EXPECT_EQ(test::readFile(c / "TEMP" / "sub" / "deeper" / "lib.dat"), "package");
    EXPECT_FALSE(fs::exists(c / "TEMP" / "own.dat"));

    // A package installed after a census is seen by the next census of the same run.
    test::writeFile(dpkg / "themes.list",
                    (c / "usr" / "share" / "themes" / "b.old").string() + "\n");
    fs::last_write_time(dpkg, fs::last_write_time(dpkg) + std::chrono::seconds(1));
    session.act([&] { session.form->bAnn.press(); });
    session.census();
    EXPECT_EQ(test::itemsOf(session.form->lDel), (Items{"C:\\usr\\share\\themes\\c.old"}));
}

// Whatever spelling names the drive's folder, the files packages own are recognised: the
// walk's and the purge's paths are compared with the lists through the folder's real path.
TEST(PackageFilesTest, EverySpellingOfTheDrivesFolderMeetsTheSameFilesOfPackages) {
    test::Sandbox sandbox;
    const fs::path c = sandbox / "c";
    fs::create_directories(sandbox / "x");
    fs::create_directory_symlink("c", sandbox / "link");
    const fs::path lists = sandbox / "dpkg";
    test::writeFile(lists / "pkg.list", (c / "usr" / "share" / "a.old").string() + "\n" +
                                            (c / "TEMP" / "sub" / "pkg.dat").string() + "\n");
    const std::string top = sandbox.dir().path().string();
    const test::ChildReport child;
    // The fake database stands where dpkg keeps its own, in a mount namespace of this test.
    const int status = test::inMountNamespace([&] {
        if (::mount(lists.c_str(), "/var/lib/dpkg/info", nullptr, MS_BIND, nullptr) != 0) {
            return 77;
        }
        for (const std::string& spelling :
             {top + "/./c", top + "//c", top + "/x/../c", top + "/link", top + "/link/"}) {
            test::writeFile(c / "usr" / "share" / "a.old", "package");
            test::writeFile(c / "usr" / "share" / "b.old", "user");
            test::writeFile(c / "TEMP" / "sub" / "pkg.dat", "package");
            test::writeFile(c / "TEMP" / "own.dat", "user");
            ::setenv("VIDOR_UNITES", ("C=3:" + spelling).c_str(), 1);
            test::Session session;
            session.machine.files().readPackageListsFrom("/var/lib/dpkg/info");
            session.census({.extensions = {"old"}, .toTrash = false, .purgeTemp = true});
            const Items listed = test::itemsOf(session.form->lDel);
            if (listed != Items{"C:\\usr\\share\\b.old"})
                return child.fail("through " + spelling + " the census listed " +
                                  test::quotedList(listed));
            if (test::readFile(c / "TEMP" / "sub" / "pkg.dat") != "package")
                return child.fail("through " + spelling + " the purge removed a package's file");
            if (fs::exists(c / "TEMP" / "own.dat"))
                return child.fail("through " + spelling + " the purge left the user's file");
        }
        return 0;
    });
    if (status == 77) GTEST_SKIP() << "no mount namespace, or no dpkg folder, on this machine";
    EXPECT_EQ(status, 0) << child.said();
}

// The cache is read whole, once: cut to nothing under a census, it stops neither the program
// nor the guard.
TEST(PackageFilesTest, ACacheCutShortDuringACensusStopsNeitherTheProgramNorTheGuard) {
    test::Sandbox sandbox("C=3:c");
    const fs::path c = sandbox.drive('C');
    const fs::path dpkg = sandbox / "dpkg";
    std::string list;
    for (const char* folder : {"a", "z"}) {
        test::writeFile(c / folder / "pkg.old", "package");
        test::writeFile(c / folder / "user.old", "user");
        list += (c / folder / "pkg.old").string() + "\n";
    }
    test::writeFile(dpkg / "pkg.list", list);
    fs::last_write_time(dpkg, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const std::string cache = PackageFiles::userCacheFile();
    PackageFiles(dpkg.string(), cache).size();
    ASSERT_TRUE(fs::exists(cache));
    EXPECT_EXIT(
        {
            test::Session session;
            session.machine.files().readPackageListsFrom(dpkg.string());
            session.load();
            // Cut once the guard has answered about the first folder's files, on entering the
            // second.
            std::string first;
            session.windows.whileYielding([&] {
                const std::string folder = session.form->eExec.caption();
                if (folder == "C:\\" || folder == first) return false;
                if (first.empty()) {
                    first = folder;
                    return false;
                }
                fs::resize_file(cache, 0);
                return true;
            });
            session.census({.extensions = {"old"}});
            Items listed = test::itemsOf(session.form->lDel);
            std::sort(listed.begin(), listed.end());
            if (listed == Items{"C:\\a\\user.old", "C:\\z\\user.old"}) std::exit(0);
            // Shown by the death test with the status.
            std::fprintf(stderr, "the census listed %s\n", test::quotedList(listed).c_str());
            std::exit(1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A cache that looks right but is not is read as no cache: the lists answer, and the cache is
// written anew from them.
TEST(PackageFilesTest, ADamagedCacheIsNeverTrustedAndIsMadeAgainFromTheLists) {
    test::TempDir dir;
    const fs::path dpkg = dir / "dpkg";
    const fs::path cache = dir / "cache" / "dpkg-files";
    std::vector<std::string> paths;
    std::string list;
    for (int i = 0; i < 40; ++i) {
        paths.push_back((dir / "usr" / "share" / ("file" + std::to_string(i) + ".old")).string());
        list += paths.back() + "\n";
    }
    test::writeFile(dpkg / "pkg.list", list);
    fs::last_write_time(dpkg, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const std::size_t size = PackageFiles(dpkg.string(), cache.string()).size();
    const std::string valid = test::readFile(cache);
    ASSERT_FALSE(valid.empty());
    // The cache begins with three lines that describe the lists' folder, then the table.
    std::size_t header = 0;
    for (int line = 0; line < 3; ++line) header = valid.find('\n', header) + 1;
    std::string emptyTable;
    const PathSet none{std::string()};  // kept alive: its image points into it
    for (const std::string_view piece : none.image()) emptyTable += piece;
    std::string wrapping = valid;
    const std::uint64_t huge = std::uint64_t{1} << 63;
    std::memcpy(wrapping.data() + header, &huge, sizeof huge);
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"an empty table", valid.substr(0, header) + emptyTable},
        {"a count past every size", wrapping},
        {"cut at a line end", valid.substr(0, valid.rfind('\n', valid.size() * 3 / 4) + 1)},
    };
    for (const auto& [damage, contents] : damaged) {
        SCOPED_TRACE(damage);
        test::writeFile(cache, contents);
        {
            PackageFiles files(dpkg.string(), cache.string());
            EXPECT_EQ(files.size(), size);
            EXPECT_TRUE(std::all_of(paths.begin(), paths.end(),
                                    [&](const std::string& path) { return files.owns(path); }));
        }
        EXPECT_TRUE(test::readFile(cache) == valid) << "the cache was not made again";
    }
}

// The table is kept in the user's cache with the list folder's identity and times; the cache
// answers only while the folder is unchanged and nobody but the user could have written it.
TEST(PackageFilesTest, TheCacheAnswersOnlyForAnUnchangedFolderAndWhenOnlyTheUserCanWriteIt) {
    test::Sandbox sandbox("C=3:c");
    const fs::path c = sandbox.drive('C');
    // A link in the middle of the path, to a folder below another link.
    test::writeFile(c / "usr" / "share" / "real" / "file.cfg", "package");
    fs::create_directory_symlink("usr/lib", c / "lib");
    fs::create_directories(c / "usr" / "lib");
    fs::create_directory_symlink("../share/real", c / "usr" / "lib" / "alias");
    const fs::path listed = c / "lib" / "alias" / "file.cfg";
    const fs::path real = c / "usr" / "share" / "real" / "file.cfg";
    const fs::path dpkg = sandbox / "dpkg";
    const fs::path cache = sandbox / "cache" / "dpkg-files";
    struct Row {
        const char* change;
        std::function<void()> apply;
        bool cacheAnswers;
    };
    const std::vector<Row> rows = {
        {"none", [] {}, true},
        {"folder changed", [&] { test::writeFile(dpkg / "new.list", "/x/y\n"); }, false},
        {"group may write",
         [&] { fs::permissions(cache, fs::perms::group_write, fs::perm_options::add); }, false},
        {"others may write",
         [&] { fs::permissions(cache, fs::perms::others_write, fs::perm_options::add); }, false},
        {"another owner", [&] { ASSERT_EQ(::chown(cache.c_str(), 65534, 65534), 0); }, false},
        {"a link to it",
         [&] {
             fs::rename(cache, cache.string() + ".real");
             fs::create_symlink(cache.string() + ".real", cache);
         },
         false},
    };
    // Lists changed a moment ago are not kept: a package installed within the same clock tick
    // would leave the folder's time as it was.
    test::writeFile(dpkg / "pkg.list", listed.string() + "\n");
    {
        PackageFiles fresh(dpkg.string(), cache.string());
        EXPECT_TRUE(fresh.owns(listed.string()));
        EXPECT_TRUE(fresh.owns(real.string()));
        EXPECT_FALSE(fresh.owns((c / "usr" / "lib" / "alias" / "file.cfg").string()));
    }
    EXPECT_FALSE(fs::exists(cache));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        fs::remove_all(dpkg);
        fs::remove_all(cache.parent_path());
        test::writeFile(dpkg / "pkg.list", listed.string() + "\n");
        fs::last_write_time(dpkg, fs::file_time_type::clock::now() - std::chrono::hours(1));
        EXPECT_TRUE(PackageFiles(dpkg.string(), cache.string()).owns(listed.string()));
        // The package no longer lists the file; writing a list in place leaves its folder as it
        // was, so only the cache still knows the file.
        test::writeFile(dpkg / "pkg.list", "/x/z\n");
        row.apply();
        PackageFiles second(dpkg.string(), cache.string());
        EXPECT_EQ(second.owns(listed.string()), row.cacheAnswers);
        EXPECT_EQ(second.owns(real.string()), row.cacheAnswers);
    }
}

}  // namespace
}  // namespace vidor::platform::linux_
