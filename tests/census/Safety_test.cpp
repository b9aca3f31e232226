#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "census/RepertoireEfface.h"
#include "tests/support/ChildReport.h"
#include "tests/support/Session.h"
#include "tests/support/Unprivileged.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

// Safety of the walk, the purge and the deletion against links, pipes, races, depth and mounts.
class SafetyTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
    fs::path victim = sandbox / "victim";

    int victimFiles = 2;

    SafetyTest() {
        for (const char* name : {"v0.tmp", "v1.tmp"}) test::writeFile(victim / name, "keep");
    }

    // Every file the victim was given is still there, unchanged.
    bool victimIntact() const {
        int kept = 0;
        for (const auto& entry : fs::recursive_directory_iterator(victim))
            kept += entry.is_regular_file() && test::readFile(entry.path()) == "keep";
        return kept == victimFiles;
    }

    // Runs a census of tmp files, moved to the trash or not, and gives the lines then listed for
    // review, sorted.
    Items reviewed(test::Session& run, bool toTrash = false, bool purgeTemp = false) {
        EXPECT_EQ(run.census({.extensions = {"tmp"}, .toTrash = toTrash, .purgeTemp = purgeTemp}),
                  std::nullopt);
        Items found = itemsOf(run.form->lDel);
        std::sort(found.begin(), found.end());
        return found;
    }

    // Purges C:\TEMP as a census does, outside any window: `windows` gets the turns.
    void purgeTemp(bool toTrash, RunReport* report = nullptr, const FolderFailed& failed = {}) {
        platform::FolderError error;
        auto root = files.openFolder("C:\\", error);
        ASSERT_TRUE(root);
        RepertoireEfface(*root, "TEMP", toTrash, windows, total, {&files, "C:\\TEMP\\"}, report,
                         failed);
    }
    const platform::linux_::DriveMap map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxFileSystem files{map};
    platform::ScriptedWindowSystem windows;
    platform::Label label{"eTaille", {}, 0, ""};
    TailleTotale total{label};
};

TEST_F(SafetyTest, LinksPipesAndASwappedFolderLeadNeitherThePurgeNorTheDeletionToTheVictim) {
    const fs::path temp = c / "TEMP";
    for (bool toTrash : {false, true}) {
        SCOPED_TRACE(toTrash);
        fs::remove_all(c);
        // Listed files whose folder is swapped for a link to the victim before the deletion.
        test::writeFile(c / "b" / "v0.tmp", "listed");
        test::writeFile(c / "b" / "v1.tmp", "listed");
        // Links and a pipe where the census looks: listed as files, never entered nor opened.
        fs::create_directory_symlink(victim, c / "dirlink.tmp");
        fs::create_symlink(victim / "v0.tmp", c / "filelink.tmp");
        fs::create_symlink(c / "nowhere", c / "broken.tmp");
        ASSERT_EQ(::mkfifo((c / "pipe.tmp").c_str(), 0644), 0);
        // Links and a pipe in the purged folder: removed themselves, their targets left.
        test::writeFile(temp / "a.txt", "abc");
        fs::create_directory_symlink(victim, temp / "dirlink");
        fs::create_symlink(victim / "v1.tmp", temp / "filelink");
        ASSERT_EQ(::mkfifo((temp / "fifo").c_str(), 0644), 0);

        auto run = std::make_unique<test::Session>();
        app::F_Main& form = *run->form;
        EXPECT_EQ(reviewed(*run, toTrash, true),
                  (Items{"C:\\b\\v0.tmp", "C:\\b\\v1.tmp", "C:\\broken.tmp", "C:\\dirlink.tmp",
                         "C:\\filelink.tmp", "C:\\pipe.tmp"}));
        EXPECT_TRUE(fs::is_directory(temp) && fs::is_empty(temp));
        fs::rename(c / "b", c / "b.old");
        fs::create_directory_symlink(victim, c / "b");
        EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), std::nullopt);
        EXPECT_EQ(form.lDel.count(), 2);
        EXPECT_FALSE(form.bEffacer.visible());
        for (const char* name : {"dirlink.tmp", "filelink.tmp", "pipe.tmp"})
            EXPECT_FALSE(fs::exists(fs::symlink_status(c / name))) << name;
        EXPECT_TRUE(victimIntact());
    }
}

// Exchanges the folder `parent`/b and a link `parent`/l to `target`, again and again, while it
// lives.
struct Swapper {
    Swapper(fs::path parent, fs::path target)
        : thread([=, this] {
              std::error_code ignored;
              while (!stop) {
                  fs::create_directory(parent / "b", ignored);
                  ::close(::open((parent / "b" / "x.tmp").c_str(), O_WRONLY | O_CREAT, 0644));
                  fs::create_directory_symlink(target, parent / "l", ignored);
                  swaps += ::renameat2(AT_FDCWD, (parent / "b").c_str(), AT_FDCWD,
                                       (parent / "l").c_str(), RENAME_EXCHANGE) == 0;
              }
          }) {}
    ~Swapper() {
        stop = true;
        thread.join();
    }
    std::atomic<bool> stop = false;
    std::atomic<int> swaps = 0;
    std::thread thread;
};

TEST_F(SafetyTest, DeletionsAndPurgesRacingWithAFolderSwappedForALinkNeverReachTheVictim) {
    // The victim holds every listed name: any deletion that goes through the link hits it.
    for (int i = 0; i < 200; ++i) {
        const std::string name = "f" + std::to_string(i) + ".tmp";
        test::writeFile(c / "a" / "b" / name, "x");
        test::writeFile(victim / name, "keep");
    }
    victimFiles += 200;
    auto run = std::make_unique<test::Session>();
    ASSERT_EQ(reviewed(*run).size(), 200u);
    {
        Swapper swapper(c / "a", victim);
        run->act([&] { run->form->bEffacer.press(); });
    }

    // Purges of a TEMP folder, by the program's own code, until enough swaps happened.
    const fs::path temp = c / "TEMP";
    fs::create_directories(temp);
    {
        Swapper swapper(temp, victim);
        for (int purges = 0; purges < 300 || swapper.swaps < 2000; ++purges) {
            std::error_code ignored;
            fs::create_directories(temp, ignored);
            purgeTemp(purges % 2 == 0);
            ASSERT_LT(purges, 100000);
        }
    }
    EXPECT_TRUE(victimIntact());
}

TEST_F(SafetyTest, AFolderSwappedBetweenItsReadAheadAndItsVisitIsOpenedAgainOrPassedOver) {
    // The sub-folder is moved out of the drive, and a link or another folder put in its place.
    for (bool link : {true, false}) {
        SCOPED_TRACE(link);
        fs::remove_all(c / "p");
        test::writeFile(c / "p" / "one.tmp", "x");
        test::writeFile(c / "p" / "target" / "old.tmp", "x");
        auto run = std::make_unique<test::Session>();
        app::F_Main& form = *run->form;
        auto& readAhead = run->machine.files().readAhead();
        std::size_t held = 0;
        int yieldsInP = 0;
        // While the walk lists C:\p, its sub-folder has been read ahead but not yet visited.
        run->windows.whileYielding([&] {
            if (form.eExec.caption() != "C:\\p\\" || ++yieldsInP != 2) return false;
            readAhead.waitIdle();
            held = readAhead.held();
            const fs::path target = c / "p" / "target";
            fs::rename(target, sandbox / ("moved" + std::to_string(link)));
            if (link)
                fs::create_directory_symlink(victim, target);
            else
                test::writeFile(target / "new.tmp", "x");
            return true;
        });
        EXPECT_EQ(reviewed(*run), (link ? Items{"C:\\p\\one.tmp"}
                                        : Items{"C:\\p\\one.tmp", "C:\\p\\target\\new.tmp"}));
        EXPECT_EQ(held, 1u);
    }
    EXPECT_TRUE(victimIntact());
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST_F(SafetyTest, ATreeTwentyThousandFoldersDeepIsWalkedAndPurgedWithFewDescriptors) {
    constexpr int kDepth = 20000;
    test::writeFile(c / "TEMP" / "top.txt", "t");
    // Made folder by folder: the whole path is far beyond what the system takes at once.
    int fd = ::open((c / "TEMP").c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kDepth; ++i) {
        ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::close(::openat(fd, "bottom.tmp", O_WRONLY | O_CREAT, 0644));
    ::close(fd);
    const std::size_t before = openDescriptors();
    std::size_t most = 0;

    auto run = std::make_unique<test::Session>();
    run->windows.whileYielding([&] {
        if (run->windows.yields % 997 == 0) most = std::max(most, openDescriptors());
        return false;
    });
    const Items found = reviewed(*run);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size(), std::string("C:\\TEMP\\").size() + 2 * kDepth + 10);

    run->form->bAnn.press();
    EXPECT_EQ(run->census({.purgeTemp = true}), platform::kExitNormal);
    EXPECT_TRUE(fs::is_empty(c / "TEMP"));
    // However deep the tree: the census holds at most 64 folders, the read-ahead 32 + 8 + 32 more,
    // the reading of the package lists one.
    EXPECT_LE(most, before + 137);
}

TEST_F(SafetyTest, FoldersThatCannotBeOpenedForLackOfDescriptorsAreToldWithTheirPath) {
    // The walk: its very first folder.
    auto run = std::make_unique<test::Session>();
    ASSERT_EQ(run->load(), std::nullopt);
    std::optional<int> ended;
    {
        const auto exhausted = test::exhaustDescriptors();
        ASSERT_TRUE(exhausted);
        ended = run->census({.extensions = {"tmp"}, .toTrash = false});
    }
    EXPECT_EQ(ended, platform::kExitNormal);  // nothing found
    ASSERT_EQ(run->windows.messages.size(), 1u);
    EXPECT_EQ(run->windows.messages[0].text, "C:\\ : Trop de fichiers ouverts");
    // A manual run that removed nothing has nothing to tell the desktop.
    EXPECT_TRUE(run->notices.texts.empty());

    // The purge: a folder inside the one purged, opened once the purge has begun.
    test::writeFile(c / "TEMP" / "a.txt", "a");
    test::writeFile(c / "TEMP" / "sub" / "b.txt", "b");
    RunReport report;
    std::vector<std::string> told;
    std::shared_ptr<void> exhausted;
    windows.atYield(1, [&] { exhausted = test::exhaustDescriptors(); });
    purgeTemp(false, &report, [&](const std::string& path, const platform::FolderError& failure) {
        told.push_back(path + " " + failure.description);
    });
    exhausted.reset();
    EXPECT_EQ(told, (Items{"C:\\TEMP\\sub\\ Trop de fichiers ouverts"}));
    ASSERT_EQ(report.failures().size(), 1u);
    EXPECT_EQ(report.failures()[0].path, "C:\\TEMP\\a.txt");
    EXPECT_EQ(report.failures()[0].reason, "trop de fichiers ouverts");
    EXPECT_TRUE(fs::exists(c / "TEMP" / "a.txt") && fs::exists(c / "TEMP" / "sub" / "b.txt"));
}

TEST_F(SafetyTest, AMountPointInsideADriveIsNotEntered) {
    test::writeFile(c / "mnt" / "under.tmp", "hidden by the mount");
    test::writeFile(c / "other" / "bound.tmp", "x");
    fs::create_directories(c / "bind");
    test::writeFile(c / "plain.tmp", "x");
    const test::ChildReport child;
    const int status = test::inMountNamespace([&] {
        if (::mount("none", (c / "mnt").c_str(), "tmpfs", 0, nullptr) != 0) return 77;
        if (::mount((c / "other").c_str(), (c / "bind").c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 77;
        test::writeFile(c / "mnt" / "inside.tmp", "on another volume");
        test::Session run;
        const Items found = reviewed(run);
        if (found == Items{"C:\\other\\bound.tmp", "C:\\plain.tmp"}) return 0;
        return child.fail("the census listed " + test::quotedList(found));
    });
    if (status == 77) GTEST_SKIP() << "this machine cannot make a mount namespace (unshare -Urm)";
    EXPECT_EQ(status, 0) << child.said();
}

}  // namespace
}  // namespace vidor::census
