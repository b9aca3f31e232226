#include "platform/linux/LinuxProcess.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLockFile>
#include <cstring>

#include "platform/linux/SingleInstance.h"
#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

constexpr uid_t kNobody = 65534;

TEST(LinuxProcessTest, OneCopyPerUserAndProgramNameWhateverTheEnvironment) {
    test::Sandbox sandbox;
    std::optional<LinuxProcess> window(std::in_place, "/opt/a/VidorEssai",
                                       std::vector<std::string>{});
    ASSERT_FALSE(window->previousInstance());

    // A cron run: no runtime folder, another temp folder and home, the program elsewhere.
    sandbox.setEnv("XDG_RUNTIME_DIR", std::nullopt);
    sandbox.setEnv("TMPDIR", (sandbox / "tmp").string());
    sandbox.setEnv("HOME", (sandbox / "home").string());
    LinuxProcess scheduled("/home/u/bin/VidorEssai", {"/AUTO"});
    EXPECT_TRUE(scheduled.previousInstance());
    LinuxProcess other("/opt/a/AutreEssai", {});
    EXPECT_FALSE(other.previousInstance());

    window.reset();
    EXPECT_FALSE(scheduled.previousInstance());
    EXPECT_TRUE(LinuxProcess("/opt/a/VidorEssai.bin", {}).previousInstance());
}

TEST(LinuxProcessTest, EachErrorLineHoldsOneWholePath) {
    LinuxProcess process("/usr/bin/Vidor", {});
    testing::internal::CaptureStderr();
    process.writeError("C:\\a\nb\\100%\r.tmp\t");
    process.writeError("C:\\été.tmp");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "C:\\a%0Ab\\100%25%0D.tmp%09\nC:\\été.tmp\n");
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
    // Another user takes every name a copy of root's could use: lock files and sockets.
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t squatter = ::fork();
    ASSERT_GE(squatter, 0);
    if (squatter == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(1);
        QLockFile lock(QDir::tempPath() + "/VidorEssai-0.lock");
        lock.tryLock(0);
        for (int place = 0; place < 3; ++place) {
            listenOn(SingleInstance::placeName("VidorEssai", 0, place));
        }
        char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(done[0], &byte, 1);
        lock.unlock();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);

    LinuxProcess first("/usr/bin/VidorEssai", {"/AUTO"});
    EXPECT_FALSE(first.previousInstance());
    EXPECT_TRUE(LinuxProcess("/usr/bin/VidorEssai", {}).previousInstance());

    (void)!::write(done[1], &byte, 1);
    int status = 0;
    ::waitpid(squatter, &status, 0);
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace vidor::platform::linux_
