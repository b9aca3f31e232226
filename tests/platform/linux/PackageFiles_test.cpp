#include "platform/linux/PackageFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "tests/support/Session.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

// Whatever spelling names the drive's folder, the files packages own are recognised: the
// walk's and the purge's paths are compared with the lists through the folder's real path.
TEST(PackageFilesTest, FilesOfInstalledPackagesAreNeitherListedNorPurgedWhateverTheDrivesSpelling) {
    test::Sandbox sandbox;
    const fs::path c = sandbox / "c", dpkg = sandbox / "dpkg";
    fs::create_directories(sandbox / "x");
    fs::create_directory_symlink("c", sandbox / "link");
    // A merged /usr: packages name /lib, the walk finds the files under usr/lib.
    fs::create_directories(c / "usr" / "lib");
    fs::create_directory_symlink("usr/lib", c / "lib");
    test::writeFile(dpkg / "pkg.list", "/.\n" + (c / "lib").string() + "\n" +
                                           (c / "lib" / "a.old").string() + "\n" +
                                           (c / "TEMP" / "pkg.dat").string() + "\n" +
                                           (c / "TEMP" / "sub" / "lib.dat").string() + "\n");
    const std::string top = sandbox.dir().path().string();
    for (const std::string& spelling :
         {top + "/c", top + "/./c", top + "//c", top + "/x/../c", top + "/link", top + "/link/"}) {
        SCOPED_TRACE(spelling);
        // In a purged folder, at every depth.
        for (const char* file : {"usr/lib/a.old", "TEMP/pkg.dat", "TEMP/sub/lib.dat"})
            test::writeFile(c / file, "package");
        test::writeFile(c / "usr" / "lib" / "b.old", "user");
        test::writeFile(c / "TEMP" / "own.dat", "user");
        sandbox.drives("C=3:" + spelling);
        test::Session session;
        session.machine.files().readPackageListsFrom(dpkg.string());
        session.census({.extensions = {"old"}, .toTrash = false, .purgeTemp = true});
        EXPECT_EQ(test::itemsOf(session.form->lDel), (Items{"C:\\usr\\lib\\b.old"}));
        EXPECT_EQ(test::readFile(c / "TEMP" / "pkg.dat"), "package");
        EXPECT_EQ(test::readFile(c / "TEMP" / "sub" / "lib.dat"), "package");
        EXPECT_FALSE(fs::exists(c / "TEMP" / "own.dat"));
    }

    // A package installed after a census is seen by the next census of the same run.
    test::writeFile(c / "usr" / "lib" / "c.old", "user");
    test::Session session;
    session.machine.files().readPackageListsFrom(dpkg.string());
    session.census({.extensions = {"old"}, .toTrash = false});
    test::writeFile(dpkg / "more.list", (c / "usr" / "lib" / "b.old").string() + "\n");
    fs::last_write_time(dpkg, fs::last_write_time(dpkg) + std::chrono::seconds(1));
    session.act([&] { session.form->bAnn.press(); });
    session.census();
    EXPECT_EQ(test::itemsOf(session.form->lDel), (Items{"C:\\usr\\lib\\c.old"}));
}

// A cache that looks right but is not is read as no cache: the lists answer, and the cache is
// written anew from them. A good one is read whole, once: cut short afterwards, it changes nothing.
TEST(PackageFilesTest, ADamagedCacheIsNeverTrustedAndACacheCutShortOnceReadChangesNoAnswer) {
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
    // Other tests of the program may leave threads behind: the child starts afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PackageFiles files(dpkg.string(), cache.string());
            const bool first = files.owns(paths.front());
            fs::resize_file(cache, 0);
            std::exit(first && files.owns(paths.back()) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
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
    const std::tuple<const char*, std::function<void()>, bool> rows[] = {
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
    for (const auto& [change, apply, cacheAnswers] : rows) {
        SCOPED_TRACE(change);
        fs::remove_all(dpkg);
        fs::remove_all(cache.parent_path());
        test::writeFile(dpkg / "pkg.list", listed.string() + "\n");
        fs::last_write_time(dpkg, fs::file_time_type::clock::now() - std::chrono::hours(1));
        EXPECT_TRUE(PackageFiles(dpkg.string(), cache.string()).owns(listed.string()));
        // The package no longer lists the file; writing a list in place leaves its folder as it
        // was, so only the cache still knows the file.
        test::writeFile(dpkg / "pkg.list", "/x/z\n");
        apply();
        PackageFiles second(dpkg.string(), cache.string());
        EXPECT_EQ(second.owns(listed.string()), cacheAnswers);
        EXPECT_EQ(second.owns(real.string()), cacheAnswers);
    }
}

}  // namespace
}  // namespace vidor::platform::linux_
