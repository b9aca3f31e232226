#include "platform/linux/PackageFiles.h"

#include <gtest/gtest.h>

#include "tests/support/Session.h"

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
    test::writeFile(c / "TEMP" / "pkg.dat", "package");
    test::writeFile(c / "TEMP" / "own.dat", "user");
    test::writeFile(c / "TEMP" / "sub" / "x.dat", "user");
    const fs::path dpkg = sandbox / "dpkg";
    test::writeFile(dpkg / "libnss3.list", "/.\n" + (c / "lib").string() + "\n" +
                                               (c / "lib" / "libnss3.chk").string() + "\n" +
                                               (c / "usr" / "share" / "themes" / "a.old").string() +
                                               "\n" + (c / "TEMP" / "pkg.dat").string() + "\n");
    // Only the file lists count.
    test::writeFile(dpkg / "libnss3.md5sums", (c / "usr" / "share" / "themes" / "b.old").string());

    test::Session session;
    session.machine.files().readPackageListsFrom(dpkg.string());
    session.load();
    test::selectOnly(session.form->lExt, {"chk", "old"});
    session.form->VidorTP.setValue(1);
    session.form->poubel.setValue(0);
    session.act([&] { session.form->bGo.press(); });

    EXPECT_EQ(test::itemsOf(session.form->lDel), (Items{"C:\\usr\\share\\themes\\b.old"}));
    EXPECT_EQ(test::readFile(c / "TEMP" / "pkg.dat"), "package");
    EXPECT_FALSE(fs::exists(c / "TEMP" / "own.dat"));
    EXPECT_FALSE(fs::exists(c / "TEMP" / "sub"));

    // A package installed later is seen at the next question.
    PackageFiles packages(dpkg.string());
    const std::string own = (c / "TEMP" / "own.dat").string();
    EXPECT_FALSE(packages.owns(own));
    test::writeFile(dpkg / "other.list", own + "\n");
    // As a clock tick later: a folder's time can stay the same within one.
    fs::last_write_time(dpkg, fs::last_write_time(dpkg) + std::chrono::seconds(1));
    EXPECT_TRUE(packages.owns(own));
}

}  // namespace
}  // namespace vidor::platform::linux_
