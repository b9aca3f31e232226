#include "platform/linux/Trash.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <ctime>

#include "platform/linux/UniqueFd.h"
#include "tests/support/ChildReport.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

Removal moveToTrash(Trash& trash, const fs::path& file) {
    UniqueFd folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY));
    return trash.move(folder.get(), file.filename().string());
}
Removal moveToTrash(const fs::path& file) {
    Trash trash;
    return moveToTrash(trash, file);
}

TEST(TrashTest, SameNamesGetNewOnesEveryFileKeepsItsInformationAndOnlyTheUsersOwnTrashIsUsed) {
    struct ZoneReset {
        ~ZoneReset() { ::tzset(); }  // once the sandbox gave TZ back
    } zoneReset;
    test::Sandbox sandbox;
    const fs::path files = sandbox.trashFiles();
    // A file whose information was lost is never overwritten either. The information file gives
    // the path percent-encoded.
    test::writeFile(files / "a.2.tmp", "orphan");
    // The date is the moment of the move in local time, whatever the file's own date; a zone
    // far from UTC tells the two apart.
    sandbox.setEnv("TZ", "UTC-5");
    ::tzset();
    Trash trash;
    const std::time_t before = std::time(nullptr);
    for (int i = 0; i < 3; ++i) {
        const fs::path file = sandbox / ("é " + std::to_string(i)) / "a.tmp";
        test::writeFile(file, std::to_string(i));
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(50));
        ASSERT_TRUE(moveToTrash(trash, file));
    }
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(test::readFile(files / "a.tmp"), "0");
    EXPECT_EQ(test::readFile(files / "a.2.tmp"), "orphan");
    EXPECT_EQ(test::readFile(files / "a.3.tmp"), "1");
    EXPECT_EQ(test::readFile(files / "a.4.tmp"), "2");
    const std::string info = test::readFile(sandbox.trashInfo() / "a.4.tmp.trashinfo");
    const std::string head =
        "[Trash Info]\nPath=" + sandbox.dir().path().string() + "/%C3%A9%202/a.tmp\nDeletionDate=";
    ASSERT_TRUE(info.starts_with(head)) << info;
    std::tm date{};
    const char* end = ::strptime(info.c_str() + head.size(), "%Y-%m-%dT%H:%M:%S\n", &date);
    ASSERT_TRUE(end && *end == '\0') << info;
    date.tm_isdst = -1;
    EXPECT_GE(std::mktime(&date), before) << info;
    EXPECT_LE(std::mktime(&date), after) << info;
    // The later moves tried the first name too: its record still names the first file.
    const std::string first = test::readFile(sandbox.trashInfo() / "a.tmp.trashinfo");
    EXPECT_NE(first.find("/%C3%A9%200/a.tmp\n"), std::string::npos)
        << "the first file's record was overwritten: " << first;

    // A trash emptied away meanwhile is made again, for its owner only.
    fs::remove_all(sandbox.dataHome() / "Trash");
    test::writeFile(sandbox / "b.tmp", "b");
    ASSERT_TRUE(moveToTrash(trash, sandbox / "b.tmp"));
    EXPECT_EQ(test::readFile(files / "b.tmp"), "b");
    EXPECT_EQ(fs::status(sandbox.dataHome() / "Trash").permissions(), fs::perms::owner_all);

    // Folders, missing files, and files without a home or whose trash is another user's stay.
    fs::create_directories(sandbox / "dir");
    EXPECT_FALSE(moveToTrash(sandbox / "dir"));
    EXPECT_FALSE(moveToTrash(sandbox / "none"));
    test::writeFile(sandbox / "a.tmp", "a");
    sandbox.setEnv("XDG_DATA_HOME", std::nullopt);
    sandbox.setEnv("HOME", std::nullopt);
    const bool rootHadData = fs::exists("/.local");
    EXPECT_FALSE(moveToTrash(sandbox / "a.tmp"));
    EXPECT_EQ(fs::exists("/.local"), rootHadData);
    EXPECT_TRUE(fs::exists(sandbox / "a.tmp"));
    // Nor is "/" a home (a service's HOME): refused for that reason, not for want of rights.
    sandbox.setEnv("HOME", "/");
    test::openUpTo(sandbox.dir().path().string(), sandbox.dir().path().string());
    const int status = test::asUnprivileged([&] {
        const Removal refused = moveToTrash(sandbox / "a.tmp");
        return refused.reason == "pas de corbeille sans dossier personnel" ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << "a HOME of / was taken for the user's home";

    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the trash to another user";
    sandbox.setEnv("XDG_DATA_HOME", sandbox.dataHome().string());
    fs::remove_all(sandbox.dataHome() / "Trash");
    fs::create_directories(sandbox.dataHome() / "Trash");
    ASSERT_EQ(::chown((sandbox.dataHome() / "Trash").c_str(), 65534, 65534), 0);
    EXPECT_EQ(moveToTrash(sandbox / "a.tmp").reason,
              "corbeille " + (sandbox.dataHome() / "Trash").string() +
                  " refusée : elle appartient à un autre utilisateur");
    EXPECT_TRUE(fs::exists(sandbox / "a.tmp"));
    EXPECT_FALSE(fs::exists(sandbox.trashFiles()));

    // Root given another user's data folder (sudo keeping XDG_DATA_HOME) makes nothing of its own
    // there, which would leave that user unable to trash: it uses its home's.
    const fs::path user = sandbox / "user";
    fs::create_directories(user);
    ASSERT_EQ(::chown(user.c_str(), 65534, 65534), 0);
    sandbox.setEnv("XDG_DATA_HOME", (user / "data").string());
    sandbox.setEnv("HOME", (sandbox / "root").string());
    EXPECT_TRUE(moveToTrash(sandbox / "a.tmp"));
    EXPECT_EQ(test::readFile(sandbox / "root" / ".local" / "share" / "Trash" / "files" / "a.tmp"),
              "a");
    EXPECT_TRUE(fs::is_empty(user));
}

TEST(TrashTest, TenThousandFilesOfOneNameAllGoAndSoDoTheNextRunsOwn) {
    test::Sandbox sandbox;
    constexpr int kFiles = 10500;
    {
        Trash trash;
        for (int i = 0; i < kFiles; ++i) {
            // The trash is what tells them apart; one folder makes them as well as many.
            test::writeFile(sandbox / "x.tmp", "x");
            ASSERT_TRUE(moveToTrash(trash, sandbox / "x.tmp")) << i;
        }
    }
    // A later run knows nothing of the names taken before it.
    for (int i = 0; i < 3; ++i) {
        test::writeFile(sandbox / "x.tmp", "x");
        ASSERT_TRUE(moveToTrash(sandbox / "x.tmp")) << i;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(sandbox.trashFiles()), {}), kFiles + 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(sandbox.trashInfo()), {}), kFiles + 3);
}

TEST(TrashTest, FilesOfAnotherVolumeGoToThatVolumesOwnTrashOrStayAndSayWhy) {
    test::Sandbox sandbox;
    const fs::path volume = sandbox / "volume", full = sandbox / "full";
    const fs::path noInodes = sandbox / "inodes";
    for (const fs::path& folder : {volume, full, noInodes}) fs::create_directories(folder);
    const test::ChildReport child;
    const int status = test::inMountNamespace([&] {
        if (::mount("none", volume.c_str(), "tmpfs", 0, nullptr) != 0 ||
            ::mount("none", full.c_str(), "tmpfs", 0, "size=64k") != 0 ||
            ::mount("none", noInodes.c_str(), "tmpfs", 0, "nr_inodes=16") != 0) {
            return 77;
        }
        const std::string uid = std::to_string(::geteuid());
        const fs::path trash = volume / (".Trash-" + uid);
        // A link or a file planted where the private trash goes is refused, and told, even a
        // link to a folder of ours.
        fs::create_directories(volume / "stolen");
        fs::create_directory_symlink(volume / "stolen", trash);
        test::writeFile(volume / "sub" / "a.tmp", "a");
        if (moveToTrash(volume / "sub" / "a.tmp").reason !=
                "corbeille " + trash.string() + " refusée : c'est un lien symbolique" ||
            !fs::is_empty(volume / "stolen")) {
            return child.fail("a link planted as the volume's trash was followed or not told");
        }
        fs::remove(trash);
        test::writeFile(trash, "planted");
        if (moveToTrash(volume / "sub" / "a.tmp").reason !=
            "corbeille " + trash.string() + " refusée : ce n'est pas un dossier") {
            return child.fail("a file planted as the volume's trash was not told");
        }
        fs::remove(trash);
        if (!moveToTrash(volume / "sub" / "a.tmp") ||
            test::readFile(trash / "files" / "a.tmp") != "a") {
            return child.fail("the file did not reach the volume's own trash");
        }
        // A shared .Trash is used only when it is sticky: without the bit, anyone could
        // remove or replace what others put there.
        fs::create_directories(volume / ".Trash");
        fs::permissions(volume / ".Trash", fs::perms::all);
        test::writeFile(volume / "b.tmp", "b");
        if (!moveToTrash(volume / "b.tmp") || fs::exists(volume / ".Trash" / uid) ||
            !fs::exists(trash / "files" / "b.tmp")) {
            return child.fail("a shared .Trash without the sticky bit was used");
        }
        fs::permissions(volume / ".Trash", fs::perms::all | fs::perms::sticky_bit);
        test::writeFile(volume / "c.tmp", "c");
        if (!moveToTrash(volume / "c.tmp") ||
            test::readFile(volume / ".Trash" / uid / "files" / "c.tmp") != "c") {
            return child.fail("a sticky shared .Trash was not used");
        }
        // No room left for the information file.
        test::writeFile(full / "a.tmp", "a");
        test::writeFile(full / "filler", std::string(64 * 1024, 'f'));
        if (moveToTrash(full / "a.tmp").reason !=
            "corbeille " + (full / (".Trash-" + uid)).string() + " : disque plein") {
            return child.fail("a full volume's trash did not say the disk is full");
        }
        // No inode left for the trash itself.
        test::writeFile(noInodes / "a.tmp", "a");
        for (int i = 0; ::close(::creat((noInodes / std::to_string(i)).c_str(), 0644)) == 0; ++i) {
        }
        if (moveToTrash(noInodes / "a.tmp").reason !=
            "corbeille " + (noInodes / (".Trash-" + uid)).string() +
                " impossible à créer : plus d'inode libre sur le volume, aucun fichier ne peut y "
                "être créé") {
            return child.fail("a volume without inodes did not say so");
        }
        if (!fs::exists(full / "a.tmp") || !fs::exists(noInodes / "a.tmp"))
            return child.fail("a file the trash refused left its place");
        return 0;
    });
    if (status == 77) GTEST_SKIP() << "this machine cannot make a mount namespace (unshare -Urm)";
    EXPECT_EQ(status, 0) << child.said();
}

}  // namespace
}  // namespace vidor::platform::linux_
