#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "census/RepertoireEfface.h"
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

    int victimFiles = 6;

    SafetyTest() {
        for (const char* name : {"v0.tmp", "v1.tmp", "v2.tmp", "v3.tmp", "v4.tmp", "inner/w.tmp"})
            test::writeFile(victim / name, "keep");
    }

    // Every file the victim was given is still there, unchanged.
    bool victimIntact() const {
        int kept = 0;
        for (const auto& entry : fs::recursive_directory_iterator(victim))
            kept += entry.is_regular_file() && test::readFile(entry.path()) == "keep";
        return kept == victimFiles;
    }

    // A loaded session whose census looks for tmp files only, moved to the trash or not.
    std::unique_ptr<test::Session> session(bool toTrash, bool purgeTemp = false) {
        auto run = std::make_unique<test::Session>();
        run->load();
        app::F_Main& form = *run->form;
        test::selectOnly(form.lExt, {"tmp"});
        form.poubel.setValue(toTrash ? 1 : 0);
        form.VidorTP.setValue(purgeTemp ? 1 : 0);
        return run;
    }

    // Presses "Recenser" and gives the lines then listed for review, sorted.
    Items reviewed(test::Session& run) {
        EXPECT_EQ(run.act([&] { run.form->bGo.press(); }), std::nullopt);
        Items found = itemsOf(run.form->lDel);
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(SafetyTest, LinksAndPipesAreListedAsFilesNeverEnteredNorOpenedAndRemovedAsThemselves) {
    fs::create_directories(c / "a");
    fs::create_directory_symlink(c, c / "a" / "loop");
    fs::create_directory_symlink("..", c / "a" / "up");
    fs::create_directory_symlink(victim, c / "dirlink.tmp");
    fs::create_symlink(victim / "v0.tmp", c / "filelink.tmp");
    fs::create_symlink(c / "nowhere", c / "broken.tmp");
    fs::create_directories(c / "TEMP");
    for (const fs::path& pipe : {c / "pipe.tmp", c / "pipe2.tmp", c / "TEMP" / "fifo"})
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    auto run = session(false, true);
    EXPECT_EQ(reviewed(*run), (Items{"C:\\broken.tmp", "C:\\dirlink.tmp", "C:\\filelink.tmp",
                                     "C:\\pipe.tmp", "C:\\pipe2.tmp"}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(c / "TEMP" / "fifo")));
    EXPECT_EQ(run->act([&] { run->form->bEffacer.press(); }), platform::kExitNormal);
    for (const char* name : {"dirlink.tmp", "filelink.tmp", "pipe.tmp"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(c / name))) << name;
    EXPECT_TRUE(victimIntact());
}

TEST_F(SafetyTest, APurgeRemovesLinksInsideTheFolderAndNeverTheirTargets) {
    const fs::path temp = c / "TEMP";
    test::writeFile(temp / "a.txt", "abc");
    fs::create_directory_symlink(victim, temp / "dirlink");
    fs::create_symlink(victim / "v1.tmp", temp / "filelink");
    fs::create_directories(temp / "sub");
    fs::create_directory_symlink(victim / "inner", temp / "sub" / "deeper");
    for (bool toTrash : {false, true}) {
        auto run = session(toTrash, true);
        EXPECT_EQ(run->act([&] { run->form->bGo.press(); }), platform::kExitNormal);
        EXPECT_TRUE(fs::is_directory(temp));
        EXPECT_TRUE(fs::is_empty(temp));
        EXPECT_TRUE(victimIntact());
        fs::create_directory_symlink(victim, temp / "dirlink");
        test::writeFile(temp / "b.txt", "b");
    }
}

TEST_F(SafetyTest, AListedFileWhoseFolderBecameALinkIsLeftAndItsTargetUntouched) {
    test::writeFile(c / "a" / "b" / "v0.tmp", "listed");
    test::writeFile(c / "a" / "b" / "v1.tmp", "listed");
    for (bool toTrash : {false, true}) {
        auto run = session(toTrash);
        app::F_Main& form = *run->form;
        ASSERT_EQ(reviewed(*run).size(), 2u);
        // Between the census and the deletion the folder is swapped for a link to the victim.
        fs::rename(c / "a" / "b", c / "a" / "b.old");
        fs::create_directory_symlink(victim, c / "a" / "b");
        EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), std::nullopt);
        EXPECT_TRUE(victimIntact());
        EXPECT_EQ(form.lDel.count(), 2);
        EXPECT_EQ(form.eExec.caption(), "Impossible de supprimer ces fichiers :");
        fs::remove(c / "a" / "b");
        fs::rename(c / "a" / "b.old", c / "a" / "b");
    }
}

// Exchanges two names of a folder, again and again, until told to stop.
class Swapper {
  public:
    Swapper(fs::path folder, std::string real, std::string link, fs::path target)
        : thread_([=, this] {
              while (!stop_) {
                  fs::create_directory(folder / real, ignored_);
                  ::close(::open((folder / real / "x.tmp").c_str(), O_WRONLY | O_CREAT, 0644));
                  fs::create_directory_symlink(target, folder / link, ignored_);
                  if (::renameat2(AT_FDCWD, (folder / real).c_str(), AT_FDCWD,
                                  (folder / link).c_str(), RENAME_EXCHANGE) == 0) {
                      ++swaps;
                  }
              }
          }) {}
    ~Swapper() {
        stop_ = true;
        thread_.join();
    }
    std::atomic<int> swaps = 0;

  private:
    std::atomic<bool> stop_ = false;
    std::error_code ignored_;
    std::thread thread_;
};

TEST_F(SafetyTest, PurgesRacingWithAFolderSwappedForALinkNeverReachTheVictim) {
    const auto map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxFileSystem files(map);
    platform::ScriptedWindowSystem windows;
    platform::Label label("eTaille", {}, 0, "");
    TailleTotale total(label);
    const fs::path temp = c / "TEMP";
    int purges = 0;
    {
        fs::create_directories(temp);
        Swapper swapper(temp, "sub", "link", victim);
        for (; purges < 300 || swapper.swaps < 2000; ++purges) {
            std::error_code ignored;
            fs::create_directories(temp, ignored);
            platform::FolderError error;
            auto root = files.openFolder("C:\\", error);
            ASSERT_TRUE(root);
            RepertoireEfface(*root, "TEMP", purges % 2 == 0, windows, total);
            ASSERT_LT(purges, 100000);
        }
    }
    EXPECT_GE(purges, 300);
    EXPECT_TRUE(victimIntact());
}

TEST_F(SafetyTest, DeletionRacingWithAFolderSwappedForALinkNeverReachesTheVictim) {
    // The victim holds every listed name: any deletion that goes through the link hits it.
    for (int i = 0; i < 200; ++i) {
        const std::string name = "f" + std::to_string(i) + ".tmp";
        test::writeFile(c / "a" / "b" / name, "x");
        test::writeFile(victim / name, "keep");
    }
    victimFiles += 200;
    auto run = session(false);
    ASSERT_EQ(reviewed(*run).size(), 200u);
    {
        Swapper swapper(c / "a", "b", "l", victim);
        run->act([&] { run->form->bEffacer.press(); });
    }
    EXPECT_TRUE(victimIntact());
}

TEST_F(SafetyTest, AFolderChangedBetweenItsReadAheadAndItsVisitIsOpenedAgainOrPassedOver) {
    struct Case {
        std::string change;
        Items listed;
    };
    const std::vector<Case> cases = {
        {"none", {"C:\\p\\one.tmp", "C:\\p\\target\\old.tmp"}},
        {"link", {"C:\\p\\one.tmp"}},
        {"folder", {"C:\\p\\one.tmp", "C:\\p\\target\\new.tmp"}},
        {"file", {"C:\\p\\one.tmp", "C:\\p\\target\\added.tmp", "C:\\p\\target\\old.tmp"}},
    };
    for (const Case& row : cases) {
        fs::remove_all(c / "p");
        fs::remove_all(sandbox / "moved");
        test::writeFile(c / "p" / "one.tmp", "x");
        test::writeFile(c / "p" / "target" / "old.tmp", "x");
        auto run = session(false);
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
            if (row.change == "link" || row.change == "folder")
                fs::rename(target, sandbox / "moved");
            if (row.change == "link") fs::create_directory_symlink(victim, target);
            if (row.change == "folder") test::writeFile(target / "new.tmp", "x");
            if (row.change == "file") {
                // Past the clock tick of the folder's last change, so that this one shows.
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                test::writeFile(target / "added.tmp", "x");
            }
            return true;
        });
        EXPECT_EQ(reviewed(*run), row.listed) << row.change;
        EXPECT_EQ(held, 1u) << row.change;
    }
    EXPECT_TRUE(victimIntact());
}

// Makes `depth` nested folders named d under `top`, with `file` in the deepest.
void deepTree(const fs::path& top, int depth, const std::string& file) {
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth; ++i) {
        ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::close(::openat(fd, file.c_str(), O_WRONLY | O_CREAT, 0644));
    ::close(fd);
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST_F(SafetyTest, ATreeTwentyThousandFoldersDeepIsWalkedAndPurgedWithFewDescriptors) {
    constexpr int kDepth = 20000;
    fs::create_directories(c / "TEMP");
    test::writeFile(c / "TEMP" / "top.txt", "t");
    deepTree(c / "TEMP", kDepth, "bottom.tmp");
    const std::size_t before = openDescriptors();
    std::size_t most = 0;

    auto run = session(false);
    run->windows.whileYielding([&] {
        if (run->windows.yields % 997 == 0) most = std::max(most, openDescriptors());
        return false;
    });
    app::F_Main& form = *run->form;
    const Items found = reviewed(*run);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size(), std::string("C:\\TEMP\\").size() + 2 * kDepth + 10);

    form.bAnn.press();
    form.VidorTP.setValue(1);
    EXPECT_EQ(run->act([&] { form.bGo.press(); }), platform::kExitNormal);
    EXPECT_TRUE(fs::is_empty(c / "TEMP"));
    // However deep the tree: the census holds at most 64 folders, the read-ahead 32 + 8 + 32 more,
    // the reading of the package lists one.
    EXPECT_LE(most, before + 137);
}

TEST_F(SafetyTest, AMountPointInsideADriveIsNotEntered) {
    test::writeFile(c / "mnt" / "under.tmp", "hidden by the mount");
    test::writeFile(c / "other" / "bound.tmp", "x");
    fs::create_directories(c / "bind");
    test::writeFile(c / "plain.tmp", "x");
    const int status = test::inMountNamespace([&] {
        if (::mount("none", (c / "mnt").c_str(), "tmpfs", 0, nullptr) != 0) return 77;
        if (::mount((c / "other").c_str(), (c / "bind").c_str(), nullptr, MS_BIND, nullptr) != 0)
            return 77;
        test::writeFile(c / "mnt" / "inside.tmp", "on another volume");
        return reviewed(*session(false)) == Items{"C:\\other\\bound.tmp", "C:\\plain.tmp"} ? 0 : 1;
    });
    if (status == 77) GTEST_SKIP() << "this machine cannot make a mount namespace (unshare -Urm)";
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace vidor::census
