#include "platform/linux/Display.h"

#include <gtest/gtest.h>

#include "tests/support/Sandbox.h"
#include "tests/support/Shell.h"
#include "tests/support/XServer.h"

namespace vidor::platform::linux_ {
namespace {

TEST(DisplayTest, OnlyADisplayThatLetsTheProgramInIsReachable) {
    // The server is started before the sandbox takes its own network namespace, so that it
    // picks a display number no other server uses.
    test::TempDir dir;
    // The server reads its cookie once, as it starts; the client's is added for its display.
    const auto authority = dir / "authority";
    const auto addCookie = [&](const std::string& display) {
        return test::runShell("xauth -f " + test::quoted(authority) + " add " + display +
                                  " . 0123456789abcdef0123456789abcdef",
                              dir / "xauth.txt");
    };
    ASSERT_EQ(addCookie(":0"), 0);
    test::XServer x(authority);
    if (!x.running()) GTEST_SKIP() << "Xvfb cannot be started here (scripts/install-deps)";
    test::Sandbox sandbox;
    const std::string number = std::to_string(x.number());
    ASSERT_EQ(addCookie(":" + number), 0);
    sandbox.setEnv("WAYLAND_DISPLAY", std::nullopt);

    const auto reachable = [&](const std::string& display, const std::filesystem::path& cookies) {
        sandbox.setEnv("DISPLAY", display);
        sandbox.setEnv("XAUTHORITY", cookies.string());
        return displayReachable();
    };
    EXPECT_TRUE(reachable(":" + number, authority));
    // The server refuses a client without its cookie.
    EXPECT_FALSE(reachable(":" + number, dir / "none"));
    EXPECT_FALSE(reachable(":" + std::to_string(x.number() + 1000), authority));
    EXPECT_FALSE(reachable("", authority));

    // A scheduled run facing that server goes on without a screen.
    sandbox.drives("C=3:c");
    test::writeFile(sandbox.drive('C') / "a.tmp", "a");
    const std::string command = "env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR DISPLAY=:" + number +
                                " XAUTHORITY=" + test::quoted(dir / "none") + " " +
                                test::quoted(VIDOR_PROGRAM) + " /U:c /E:tmp";
    test::runShell(command, dir / "errors.txt");
    const std::string errors = test::readFile(dir / "errors.txt");
    // Without a screen the toolkit would abort with its own message first.
    EXPECT_TRUE(errors.starts_with("Brenlo\n")) << errors;  // the update prompt, cancelled
}

}  // namespace
}  // namespace vidor::platform::linux_
