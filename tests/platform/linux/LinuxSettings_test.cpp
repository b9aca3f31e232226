#include "platform/linux/LinuxSettings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
const std::string kKey = "Software\\Brenlo\\Vidor";

class LinuxSettingsTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox;
    LinuxSettings store;

    fs::path file() const { return sandbox.configHome() / "Brenlo" / "Vidor.conf"; }
    // The text stored under `name`, if any.
    std::optional<std::string> text(const std::string& name) {
        const auto value = store.read(Hive::CurrentUser, kKey, name);
        return value ? std::optional(value->text) : std::nullopt;
    }
    std::int32_t write(const std::string& text) {
        return store.write(Hive::CurrentUser, kKey, "Extensions", text);
    }
};

TEST_F(LinuxSettingsTest, HandWrittenAndQtWrittenValuesReadAsWritten) {
    test::writeFile(file(),
                    "[General]\n"
                    "Extensions%20interdites = EXE,DLL \n"
                    "Unit%E9s%20s%E9lectionn%E9es=C:\\tE:\\t\n"
                    "Escapes=\"a\\x1\\x62\\r\\nc\\\"q\\\\;,\xC3\xA9\"\n"
                    "[Other]\n"
                    "Elsewhere=1\n");
    EXPECT_EQ(text("Extensions interdites"), "EXE,DLL");
    EXPECT_EQ(text("Unités sélectionnées"), "C:\tE:\t");
    EXPECT_EQ(text("Escapes"),
              "a\x01"
              "b\r\nc\"q\\;,\xC3\xA9");
    EXPECT_EQ(text("Elsewhere"), std::nullopt);

    // A write keeps the hand-written lines it does not change.
    ASSERT_EQ(write("tmp,"), 0);
    EXPECT_EQ(text("Extensions interdites"), "EXE,DLL");
    EXPECT_EQ(text("Extensions"), "tmp,");
}

TEST_F(LinuxSettingsTest, ANamedPipeIsNeitherReadNorWrittenAndNothingWaits) {
    fs::create_directories(file().parent_path());
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    ::alarm(10);  // a blocking open would otherwise hang the test
    EXPECT_EQ(text("Extensions"), std::nullopt);
    EXPECT_NE(write("tmp,"), 0);
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(file()));
}

TEST_F(LinuxSettingsTest, AWriteKilledHalfwayLeavesTheOldFileOrTheNewOne) {
    const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
    ASSERT_EQ(write(a), 0);
    for (int round = 0; round < 5; ++round) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (;;) {
                write(b);
                write(a);
            }
        }
        ::usleep(20000 + round * 7000);
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        const auto value = text("Extensions");
        EXPECT_TRUE(value == a || value == b) << round;
    }
}

TEST_F(LinuxSettingsTest, AFileThatCannotBeReadIsNotReplacedByTheNewValueAlone) {
    test::writeFile(file(), "[General]\nExtensions=old\nAutre=1\n");
    sandbox.shareWithEveryone();
    fs::permissions(file(), fs::perms::none);
    const int status = test::asUnprivileged([&] { return write("new") != 0 ? 0 : 1; });
    EXPECT_EQ(status, 0) << "the write was said to be done";
    EXPECT_EQ(test::readFile(file()), "[General]\nExtensions=old\nAutre=1\n");
}

// As root, a link or a file planted by another user in the settings folder.
TEST_F(LinuxSettingsTest, RootNeverWritesThroughAnotherUsersLinkOrIntoTheirFiles) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to another user";
    // Each case: the owner of the link in the file's place (none: no link, the file itself), the
    // file's owner, and whether root writes the file.
    const uid_t none = static_cast<uid_t>(-1);
    const std::tuple<const char*, uid_t, uid_t, bool> cases[] = {
        {"root's link to another user's file", 0, kNobody, false},
        {"another user's link to root's file", kNobody, 0, false},
        {"another user's file", none, kNobody, false},
        {"root's file", none, 0, true},
    };
    const fs::path target = sandbox / "target.conf";
    for (const auto& [what, linkOwner, targetOwner, written] : cases) {
        fs::remove(file());
        test::writeFile(target, "[General]\nExtensions=old\n");
        ASSERT_EQ(::chown(target.c_str(), targetOwner, 0), 0);
        if (linkOwner != none) {
            fs::create_directories(file().parent_path());
            fs::create_symlink(target, file());
            ASSERT_EQ(::lchown(file().c_str(), linkOwner, 0), 0);
        } else {
            fs::rename(target, file());
        }
        write("new");
        EXPECT_EQ(text("Extensions"), written ? "new" : "old") << what;
    }

    // A settings folder of another user's (sudo keeping the user's HOME) gets nothing.
    fs::remove_all(sandbox.configHome());
    fs::create_directories(sandbox.configHome());
    ASSERT_EQ(::chown(sandbox.configHome().c_str(), kNobody, 0), 0);
    EXPECT_NE(write("new"), 0);
    EXPECT_FALSE(fs::exists(file().parent_path()));
}

}  // namespace
}  // namespace vidor::platform::linux_
