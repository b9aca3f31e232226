#include "tests/support/Unprivileged.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

namespace vidor::test {

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// In a child process (async-signal-safe calls only): drops root's rights for nobody's; false
// when it could not.
bool becomeNobody() {
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(kNoGroup) == 0 && ::setuid(kNobody) == 0);
}

// Runs `body` in a child process once `setUp` succeeded there (returned 0); the child's exit
// status (`setUp`'s when it failed), `unmade` when there is no child, -1 when it did not exit.
int inChild(const std::function<int()>& setUp, const std::function<int()>& body, int unmade) {
    const pid_t child = ::fork();
    if (child < 0) return unmade;
    if (child == 0) {
        const int failed = setUp();
        ::_exit(failed != 0 ? failed : body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// In a child process (async-signal-safe calls only): opens `file` as `use` says, tells through
// the second of the pair `ends` whether it could, and keeps it until the test closes the first.
[[noreturn]] void holdInChild(const char* file, Use use, bool asNobody, const int ends[2]) {
    ::close(ends[0]);
    if (asNobody && !becomeNobody()) ::_exit(126);
    // As any program its user starts: its open files may be looked at by that user.
    if (asNobody) ::prctl(PR_SET_DUMPABLE, 1);
    const int fd = ::open(file, use == Use::Writing ? O_WRONLY : O_RDONLY);
    bool held = fd >= 0;
    if (held && use == Use::Mapping) {
        held = ::mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0) != MAP_FAILED;
        ::close(fd);
    }
    // Told, it waits for the end of the test's side of the pair.
    char told = held ? 1 : 0;
    if (::write(ends[1], &told, 1) == 1) (void)!::read(ends[1], &told, 1);
    ::_exit(0);
}

}  // namespace

int asUnprivileged(const std::function<int()>& body) {
    return inChild([] { return becomeNobody() ? 0 : 126; }, body, -1);
}

int inMountNamespace(const std::function<int()>& body) {
    const auto setUp = [] {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return 77;
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : 77;
    };
    return inChild(setUp, body, 77);
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

std::shared_ptr<void> keepInUse(const std::filesystem::path& file, Use use, bool asNobody) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return nullptr;
    const pid_t child = ::fork();
    if (child == 0) holdInChild(file.c_str(), use, asNobody, ends);
    ::close(ends[1]);
    char held = 0;
    const bool holding = child > 0 && ::read(ends[0], &held, 1) == 1 && held == 1;
    // Closing the test's end of the pair ends the child.
    std::shared_ptr<void> holder(new pid_t(child), [end = ends[0]](void* pid) {
        ::close(end);
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
