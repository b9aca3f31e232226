#include "platform/linux/DriveMap.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdlib>

#include "platform/Drives.h"
#include "tests/support/ChildReport.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

std::string lettersAndTypes(const DriveMap& map) {
    std::string text;
    for (const Drive& drive : map.drives()) {
        text += std::string(1, drive.letter) + "=" + std::to_string(drive.type) + ":" +
                drive.folder + ";";
    }
    return text;
}

TEST(DriveMapTest, TheMountTableGivesLettersToRealVolumesOnly) {
    test::TempDir dir;
    const std::string mountInfo =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "25 24 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "30 27 8:17 / /media/cle rw,relatime shared:5 - vfat /dev/sdb1 rw\n"
        "31 27 8:2 / /home rw,relatime - ext4 /dev/sda2 rw\n"
        "32 27 0:40 / /mnt/nas rw - nfs4 nas:/export rw\n"
        "33 27 0:41 / /tmp rw - tmpfs tmpfs rw\n"
        "34 27 0:42 / /run rw - tmpfs tmpfs rw\n"
        "35 27 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
        "36 27 7:1 / /snap/core/1 ro - squashfs /dev/loop1 ro\n"
        "37 27 8:2 /user /srv/bound rw - ext4 /dev/sda2 rw\n"
        "40 27 8:33 / /mnt/my\\040disk rw - ext4 /dev/sdc1 rw\n"
        "42 30 8:18 / /media/cle rw - vfat /dev/sdb2 rw\n";
    const VolumeFacts facts{[](const std::string& device) { return device == "8:18"; },
                            [](const Mount&) { return std::string(); }};
    const DriveMap map = DriveMap::fromMountInfo(mountInfo, facts, dir / "letters.conf");
    EXPECT_EQ(lettersAndTypes(map),
              "C=3:/;D=3:/home;E=5:/media/cdrom;F=2:/media/cle;G=3:/mnt/my disk;H=4:/mnt/nas;"
              "I=6:/tmp;");
}

TEST(DriveMapTest, LettersGivenOutrightHoldOnlyOnceEach) {
    EXPECT_EQ(lettersAndTypes(DriveMap::fromUnites("c=3:/a;C=2:/b;E=2:/e;x;F=9:;E=3:/f;[=3:/g")),
              "C=3:/a;E=2:/e;");
}

TEST(DriveMapTest, AVolumeKeepsItsLetterWhateverElseIsMounted) {
    test::TempDir dir;
    const std::string letters = dir / "letters.conf";
    const VolumeFacts facts{[](const std::string&) { return false; },
                            [](const Mount& mount) {
                                return mount.source == "/dev/nas" ? "" : mount.source.substr(5);
                            }};
    const auto mapOf = [&](const std::vector<std::string>& volumes) {
        std::string mountInfo = "1 0 8:0 / / rw - ext4 /dev/root rw\n";
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            mountInfo += "2 1 9:" + std::to_string(i) + " / /media/" + volumes[i] +
                         " rw - ext4 /dev/" + volumes[i] + " rw\n";
        }
        return lettersAndTypes(DriveMap::fromMountInfo(mountInfo, facts, letters));
    };
    EXPECT_EQ(mapOf({"home", "key"}), "C=3:/;D=3:/media/home;E=3:/media/key;");
    // The key is gone and two new volumes come: its letter waits for it.
    EXPECT_EQ(mapOf({"home", "disk", "nas"}),
              "C=3:/;D=3:/media/home;F=3:/media/disk;G=3:/media/nas;");
    EXPECT_EQ(mapOf({"key", "home"}), "C=3:/;D=3:/media/home;E=3:/media/key;");

    // A damaged file: what can be read is kept, and no letter is given twice, least of all C:.
    test::writeFile(
        letters, "[General]\nC=uuid:home\nD=uuid:key\nE=uuid:key\nnonsense\nF=@Invalid()\nZZ=x\n");
    EXPECT_EQ(mapOf({"home", "key"}), "C=3:/;D=3:/media/key;F=3:/media/home;");
    // Two sub-volumes of one file system, mounted at once, are two volumes.
    const std::string subVolumes =
        "1 0 8:0 / / rw - ext4 /dev/root rw\n"
        "2 1 0:31 /@home /home rw - btrfs /dev/key rw\n"
        "3 1 0:32 /@var /var rw - btrfs /dev/key rw\n";
    EXPECT_EQ(lettersAndTypes(DriveMap::fromMountInfo(subVolumes, facts, letters)),
              "C=3:/;G=3:/home;H=3:/var;");
}

TEST(DriveMapTest, AFolderBoundElsewhereTakesNoLetterWhicheverVolumeItComesFrom) {
    test::TempDir dir;
    for (const char* folder : {"rootFolder", "rootBound", "ram", "ramBound"})
        std::filesystem::create_directory(dir / folder);
    // In a mount namespace of its own: a folder of the root volume bound elsewhere, and a
    // volume with one of its folders bound elsewhere.
    const test::ChildReport child;
    const int status = test::inMountNamespace([&] {
        const auto mount = [](const std::string& source, const std::string& point, const char* type,
                              unsigned long flags) {
            return ::mount(source.c_str(), point.c_str(), type, flags, nullptr) == 0;
        };
        if (!mount(dir / "rootFolder", dir / "rootBound", nullptr, MS_BIND) ||
            !mount("tmpfs", dir / "ram", "tmpfs", 0) ||
            !std::filesystem::create_directory(dir / "ram" / "sub") ||
            !mount(dir / "ram" / "sub", dir / "ramBound", nullptr, MS_BIND)) {
            return 77;
        }
        ::unsetenv("VIDOR_UNITES");
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        const DriveMap map = DriveMap::fromSystem();
        std::string bound;
        for (const Drive& drive : map.drives()) {
            if (drive.folder.starts_with(dir.path().string())) bound += drive.folder + ";";
        }
        if (bound != (dir / "ram").string() + ";")
            return child.fail("the volume's folders that took a letter: " + bound);
        return 0;
    });
    if (status == 77) GTEST_SKIP() << "no mount namespace on this machine";
    EXPECT_EQ(status, 0) << child.said();
}

}  // namespace
}  // namespace vidor::platform::linux_
