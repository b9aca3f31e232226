#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vidor::test {

namespace {

constexpr uid_t kNobody = 65534;

bool dropRoot() {
    if (::geteuid() != 0) return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

void writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put <= 0) return;
        done += static_cast<std::size_t>(put);
    }
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

std::string asUnprivileged(const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return std::string("child: pipe: ") + std::strerror(errno);
    const pid_t child = ::fork();
    if (child < 0) return std::string("child: fork: ") + std::strerror(errno);
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string text = "child: cannot give up root's rights";
        try {
            if (dropRoot()) text = body();
        } catch (...) {
            text = "child: the body threw";
        }
        writeAll(pipeFds[1], text);
        // No destructor may run here: they belong to the parent's test (its temp folders).
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string text = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "child: ended abnormally";
    return text;
}

}  // namespace vidor::test
