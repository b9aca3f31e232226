#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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

std::shared_ptr<void> keepInUse(const std::filesystem::path&) {
    return nullptr;
}

void openUpTo(const std::string& folder, const std::string& top) {
    namespace fs = std::filesystem;
    for (fs::path path = folder; !path.empty(); path = path.parent_path()) {
        ::chmod(path.c_str(), 0755);
        if (path == fs::path(top) || path == path.parent_path()) break;
    }
}

}  // namespace vidor::test
