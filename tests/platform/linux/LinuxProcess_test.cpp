#include "platform/linux/LinuxProcess.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <future>

#include "platform/linux/SingleInstance.h"
#include "platform/linux/UniqueFd.h"
#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

constexpr uid_t kNobody = 65534;

// The abstract address `name`, and its length.
std::pair<sockaddr_un, socklen_t> abstractAddress(const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return {address, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())};
}

// Binds the abstract `name` and listens on it with room for `backlog`; the socket, or -1.
int listenOn(const std::string& name, int backlog = 4) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    auto [address, length] = abstractAddress(name);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) return -1;
    return ::listen(fd, backlog) == 0 ? fd : -1;
}

TEST(LinuxProcessTest, AListenerThatNeverAnswersDoesNotHoldTheStartUp) {
    test::Sandbox sandbox;
    // A listener of the user's whose queue is full: a probe that waited for it would wait for
    // ever.
    const std::string name = SingleInstance::placeName("VidorSourd", ::geteuid(), 0);
    UniqueFd deaf(listenOn(name, 0));
    ASSERT_GE(deaf.get(), 0);
    auto [address, length] = abstractAddress(name);
    std::vector<UniqueFd> queued;
    for (int i = 0; i < 64; ++i) {
        queued.emplace_back(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
        if (::connect(queued.back().get(), reinterpret_cast<sockaddr*>(&address), length) != 0)
            break;
    }
    ASSERT_EQ(errno, EAGAIN);

    auto start = std::async(std::launch::async, [] {
        return LinuxProcess("/opt/a/VidorSourd", {}).previousInstance();
    });
    if (start.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "the start-up still waits after 30 s for a listener that never answers";
        deaf.reset();  // lets the waiting probe go, so that the test ends
    }
    start.get();
}

TEST(LinuxProcessTest, OneCopyPerUserAndProgramNameWhateverTheEnvironmentOrOtherUsers) {
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

    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    // Another user takes every name a copy of root's could use.
    ASSERT_EQ(::seteuid(kNobody), 0);
    std::vector<int> squatted;
    for (int place = 0; place < 3; ++place)
        squatted.push_back(listenOn(SingleInstance::placeName("VidorPris", 0, place)));
    ASSERT_EQ(::seteuid(0), 0);
    LinuxProcess first("/usr/bin/VidorPris", {"/AUTO"});
    EXPECT_FALSE(first.previousInstance());
    EXPECT_TRUE(LinuxProcess("/usr/bin/VidorPris", {}).previousInstance());
    for (const int fd : squatted) ::close(fd);
}

}  // namespace
}  // namespace vidor::platform::linux_
