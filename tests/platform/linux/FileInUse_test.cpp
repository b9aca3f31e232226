#include "platform/linux/FileInUse.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

}  // namespace
}  // namespace vidor::platform::linux_
