#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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

void openUpTo(const std::string& folder, const std::string& top) {
    namespace fs = std::filesystem;
    for (fs::path path = folder; !path.empty(); path = path.parent_path()) {
        ::chmod(path.c_str(), 0755);
        if (path == fs::path(top) || path == path.parent_path()) break;
    }
}

}  // namespace vidor::test
