#include "platform/linux/FileInUse.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/linux/LinuxFolder.h"
#include "platform/linux/Trash.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;
using test::Use;

class FileInUseTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox;
    fs::path folder = sandbox / "f";

    FileInUseTest() { fs::create_directories(folder); }

    Removal remove(const std::string& name, bool toTrash = false) {
        UniqueFd at(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        Trash trash;
        return toTrash ? trash.move(at.get(), name) : LinuxFolder::removeEntry(at.get(), name);
    }
};

TEST_F(FileInUseTest, AFileAnotherProgramReadsWritesOrMapsIsNeitherDeletedNorTrashed) {
    for (const char* name : {"read", "written", "mapped", "free"})
        test::writeFile(folder / name, "x");
    fs::create_symlink(folder / "read", folder / "link");
    const auto reader = test::keepInUse(folder / "read", Use::Reading);
    const auto writer = test::keepInUse(folder / "written", Use::Writing);
    const auto mapper = test::keepInUse(folder / "mapped", Use::Mapping);
    ASSERT_TRUE(reader && writer && mapper);
    for (const char* name : {"read", "written", "mapped"}) {
        for (bool toTrash : {false, true}) {
            const Removal removal = remove(name, toTrash);
            EXPECT_FALSE(removal) << name;
            EXPECT_EQ(removal.reason, kFileInUse) << name;
        }
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    // A link is not the file it leads to.
    EXPECT_TRUE(remove("link"));
    EXPECT_TRUE(remove("free"));
    EXPECT_FALSE(fs::exists(folder / "free"));
}

TEST_F(FileInUseTest, WhereNoLeaseMayBeTakenTheOpenFilesOfTheUsersProcessesAreLookedAt) {
    VIDOR_NEEDS_ANOTHER_USER();
    // Root's files in a folder open to all: nobody may remove them but not lease them.
    for (const char* name : {"read", "mapped", "free"}) test::writeFile(folder / name, "x");
    sandbox.shareWithEveryone();
    test::openUpTo(folder.string(), sandbox.dir().path().string());
    fs::permissions(folder, fs::perms::all);
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files nobody may remove";
    const auto reader = test::keepInUse(folder / "read", Use::Reading, true);
    const auto mapper = test::keepInUse(folder / "mapped", Use::Mapping, true);
    ASSERT_TRUE(reader && mapper);
    const int status = test::asUnprivileged([&] {
        if (remove("read").reason != kFileInUse) return 1;
        if (remove("mapped", true).reason != kFileInUse) return 2;
        return remove("free") ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::exists(folder / "read") && fs::exists(folder / "mapped"));
    EXPECT_FALSE(fs::exists(folder / "free"));
}

TEST_F(FileInUseTest, AProgramOpeningAHeldFileWaitsForItWithoutEndingThisOne) {
    test::writeFile(folder / "held", "x");
    UniqueFd at(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    ASSERT_EQ(::fstatat(at.get(), "held", &st, AT_SYMLINK_NOFOLLOW), 0);
    UniqueFd hold;
    ASSERT_EQ(holdIfUnused(at.get(), "held", st, hold), "");
    ASSERT_TRUE(hold);
    int opened = -1;
    std::thread opener([&] { opened = ::open((folder / "held").c_str(), O_RDONLY); });
    // The hold turns to a read lease once the reader waits on it: the notice is sent then.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::fcntl(hold.get(), F_GETLEASE) == F_WRLCK && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(::fcntl(hold.get(), F_GETLEASE), F_RDLCK);
    hold.reset();
    opener.join();
    EXPECT_GE(opened, 0);
    ::close(opened);
}

TEST_F(FileInUseTest, TheHoldsOfRemovedFilesAreLetGoSoonAndAtOnceWhenDescriptorsRunShort) {
    const auto deletedOpen = [] {
        int count = 0;
        for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            count += fs::read_symlink(fd.path(), error).string().ends_with(" (deleted)");
        }
        return count;
    };
    for (int i = 0; i < 20; ++i) test::writeFile(folder / std::to_string(i), "x");
    rlimit limits{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limits), 0);
    const auto open = std::distance(fs::directory_iterator("/proc/self/fd"), {});
    const rlimit tight{static_cast<rlim_t>(open + 4), limits.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    int removed = 0;
    for (int i = 0; i < 20; ++i) removed += static_cast<bool>(remove(std::to_string(i)));
    ::setrlimit(RLIMIT_NOFILE, &limits);
    EXPECT_EQ(removed, 20);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (deletedOpen() > 0 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(deletedOpen(), 0);
}

}  // namespace
}  // namespace vidor::platform::linux_
