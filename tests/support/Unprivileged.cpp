#include "tests/support/Unprivileged.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vidor::test {

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
}  // namespace

int asUnprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(126);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int inMountNamespace(const std::function<int()>& body) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    const pid_t child = ::fork();
    if (child < 0) return 77;
    if (child == 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(77);
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) ::_exit(77);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool otherUsers() {
    return true;
}

bool giveAway(const std::string& folder) {
    return ::chown(folder.c_str(), kNobody, kNoGroup) == 0 && ::chmod(folder.c_str(), 01777) == 0;
}

std::string ownerAndRights(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%u %o", static_cast<unsigned>(st.st_uid), st.st_mode & 07777);
    return text;
}

namespace {

// In a child process (async-signal-safe calls only): opens `file` as `use` says, telling through
// the pipe `ready` whether it could, and keeps it until the pipe `quit` is closed.
[[noreturn]] void holdInChild(const char* file, Use use, bool asNobody, const int ready[2],
                              const int quit[2]) {
    ::close(ready[0]);
    ::close(quit[1]);
    if (asNobody && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(126);
    }
    // As any program its user starts: its open files may be looked at by that user.
    if (asNobody) ::prctl(PR_SET_DUMPABLE, 1);
    const int fd = ::open(file, use == Use::Writing ? O_WRONLY : O_RDONLY);
    bool held = fd >= 0;
    if (held && use == Use::Mapping) {
        held = ::mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED;
        ::close(fd);
    }
    const char told = held ? 1 : 0;
    (void)!::write(ready[1], &told, 1);
    char ignored;
    (void)!::read(quit[0], &ignored, 1);
    ::_exit(0);
}

}  // namespace

std::shared_ptr<void> keepInUse(const std::filesystem::path& file, Use use, bool asNobody) {
    int ready[2];
    int quit[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) return nullptr;
    if (::pipe2(quit, O_CLOEXEC) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return nullptr;
    }
    const pid_t child = ::fork();
    if (child == 0) holdInChild(file.c_str(), use, asNobody, ready, quit);
    ::close(ready[1]);
    ::close(quit[0]);
    char held = 0;
    const bool holding = child > 0 && ::read(ready[0], &held, 1) == 1 && held == 1;
    ::close(ready[0]);
    // Closing the pipe ends the child.
    std::shared_ptr<void> holder(new pid_t(child), [quit = quit[1]](void* pid) {
        ::close(quit);
        if (*static_cast<pid_t*>(pid) > 0) ::waitpid(*static_cast<pid_t*>(pid), nullptr, 0);
        delete static_cast<pid_t*>(pid);
    });
    return holding ? holder : nullptr;
}

std::shared_ptr<void> exhaustDescriptors() {
    rlimit saved{};
    if (::getrlimit(RLIMIT_NOFILE, &saved) != 0) return nullptr;
    // The limit is brought down to the highest descriptor in use, the holes below it filled.
    int highest = 2;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        highest = std::max(highest, std::stoi(entry.path().filename().string()));
    rlimit low = saved;
    low.rlim_cur = static_cast<rlim_t>(highest) + 1;
    if (::setrlimit(RLIMIT_NOFILE, &low) != 0) return nullptr;
    auto fillers = new std::vector<int>;
    for (int fd; (fd = ::dup(0)) >= 0;) fillers->push_back(fd);
    return std::shared_ptr<void>(fillers, [saved](void* held) {
        auto* fds = static_cast<std::vector<int>*>(held);
        for (int fd : *fds) ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &saved);
        delete fds;
    });
}

void openUpTo(const std::string& folder, const std::string& top) {
    namespace fs = std::filesystem;
    for (fs::path path = folder; !path.empty(); path = path.parent_path()) {
        ::chmod(path.c_str(), 0755);
        if (path == fs::path(top) || path == path.parent_path()) break;
    }
}

}  // namespace vidor::test
