#include "platform/linux/LinuxProcess.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/linux/SingleInstance.h"
#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

constexpr uid_t kNobody = 65534;

TEST(LinuxProcessTest, OneCopyPerUserAndProgramNameWhateverTheEnvironment) {
    test::Sandbox sandbox;
    LinuxProcess window("/opt/a/VidorEssai", {});
    ASSERT_FALSE(window.previousInstance());

    // A cron run: no runtime folder, another temp folder and home, the program elsewhere.
    sandbox.setEnv("XDG_RUNTIME_DIR", std::nullopt);
    sandbox.setEnv("TMPDIR", (sandbox / "tmp").string());
    sandbox.setEnv("HOME", (sandbox / "home").string());
    EXPECT_TRUE(LinuxProcess("/home/u/bin/VidorEssai", {"/AUTO"}).previousInstance());
    EXPECT_TRUE(LinuxProcess("/opt/a/VidorEssai.bin", {}).previousInstance());
    EXPECT_FALSE(LinuxProcess("/opt/a/AutreEssai", {}).previousInstance());
}

// Binds the abstract `name` and listens on it; the socket, or -1.
int listenOn(const std::string& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 4) != 0) {
        return -1;
    }
    return fd;
}

TEST(LinuxProcessTest, AnotherUserCannotKeepTheProgramFromRunning) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    test::Sandbox sandbox;
    sandbox.setEnv("XDG_RUNTIME_DIR", std::nullopt);
    // Another user takes every name a copy of root's could use.
    ASSERT_EQ(::seteuid(kNobody), 0);
    std::vector<int> squatted;
    for (int place = 0; place < 3; ++place)
        squatted.push_back(listenOn(SingleInstance::placeName("VidorEssai", 0, place)));
    ASSERT_EQ(::seteuid(0), 0);

    LinuxProcess first("/usr/bin/VidorEssai", {"/AUTO"});
    EXPECT_FALSE(first.previousInstance());
    EXPECT_TRUE(LinuxProcess("/usr/bin/VidorEssai", {}).previousInstance());
    for (const int fd : squatted) ::close(fd);
}

}  // namespace
}  // namespace vidor::platform::linux_
