// Unattended runs of the built program, as a scheduler starts it: in a separate process, with no
// screen at all.

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/Sandbox.h"
#include "tests/support/Session.h"
#include "tests/support/Shell.h"
#include "tests/support/Unprivileged.h"

namespace vidor::app {
namespace {

namespace fs = std::filesystem;

class UnattendedTest : public ::testing::Test {
  protected:
    UnattendedTest() {
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            sandbox.setEnv(variable, std::nullopt);
        }
        fs::create_directories(out);
        fs::permissions(out, fs::perms::all);
        fs::copy_file(VIDOR_PROGRAM, out / "Vidor");
        test::writeFile(c / "a.tmp", "a");
        test::writeFile(c / "sub" / "b.TMP", "b");
    }

    // Runs the built program with `parameters`; its standard error is then in errors(). It runs
    // from a copy in the sandbox, which another user may reach wherever the build lies.
    int vidor(const std::string& parameters) {
        return test::runShell(test::quoted(out / "Vidor") + " " + parameters, out / "errors.txt");
    }
    std::string errors() const { return test::readFile(out / "errors.txt"); }

    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
    fs::path out = sandbox / "out";
};

TEST_F(UnattendedTest, FilesThatCannotBeRemovedMakeTheStatusOneAndAreNamed) {
    test::storeMachineSetting("RépertoireMiseAJour", "-");
    test::writeFile(c / "locked" / "x.tmp", "x");
    sandbox.shareWithEveryone();
    test::openUpTo(c.string(), sandbox.dir().path().string());
    fs::permissions(c / "sub", fs::perms::all);
    fs::permissions(c, fs::perms::all);
    // Run as nobody, to whom the folder "locked" (root's, read-only for others) is closed for
    // writing; any other user meets the same when it is not theirs.
    fs::permissions(c / "locked", static_cast<fs::perms>(0755));
    // The runtime folder must be the user's own, as the system gives it.
    const fs::path runtime = out / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_EQ(::chown(runtime.c_str(), ::geteuid() == 0 ? 65534 : ::geteuid(),
                      ::getegid() == 0 ? 65534 : ::getegid()),
              0);
    sandbox.setEnv("XDG_RUNTIME_DIR", runtime.string());
    // A file another program of this user has open.
    test::writeFile(c / "held.tmp", "h");
    const auto held = test::keepInUse(c / "held.tmp", test::Use::Reading, true);
    ASSERT_TRUE(held);
    EXPECT_EQ(test::asUnprivileged([&] { return vidor("/U:c /E:tmp"); }), 1) << errors();
    // One line each: the path, a tab, and the reason.
    EXPECT_EQ(errors(),
              "C:\\held.tmp\tfichier en cours d'utilisation\nC:\\locked\\x.tmp\taccès refusé\n");
    EXPECT_TRUE(fs::exists(c / "locked" / "x.tmp"));
    EXPECT_TRUE(fs::exists(c / "held.tmp"));
    EXPECT_FALSE(fs::exists(c / "a.tmp"));
}

TEST_F(UnattendedTest, WithoutAScreenAManualStartFailsAndABadParameterOrAPreviewEndsWithoutABox) {
    EXPECT_EQ(vidor(""), 3);
    EXPECT_NE(errors().find("Vidor ne trouve pas d'écran"), std::string::npos) << errors();
    EXPECT_EQ(test::machineSetting("Vidor"), std::nullopt);
    // A box nobody can answer would hold the run until it is killed.
    EXPECT_EQ(vidor("/U:c --help"), 2) << errors();
    // A preview needs no screen either.
    EXPECT_EQ(vidor("/liste /U:c /E:tmp > " + test::quoted(out / "list.txt")), 0) << errors();
    EXPECT_EQ(test::readFile(out / "list.txt"),
              "1\tC:\\a.tmp\n1\tC:\\sub\\b.TMP\n2 fichiers, 2 bytes\n");
}

}  // namespace
}  // namespace vidor::app
