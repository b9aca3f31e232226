#include "tests/support/XServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vidor::test {

XServer::XServer(const std::filesystem::path& authority) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipeFds[1], 3);
        // Without an authority file, the arguments end where "-auth" would be.
        ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset",
                 authority.empty() ? nullptr : "-auth", authority.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    pollfd ready{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && ::poll(&ready, 1, 20000) == 1 && ::read(pipeFds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    ::close(pipeFds[0]);
    if (!number.empty()) number_ = std::atoi(number.c_str());
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

}  // namespace vidor::test
