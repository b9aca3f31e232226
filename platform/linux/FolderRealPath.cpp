#include "platform/linux/FolderRealPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace vidor::platform::linux_ {

namespace {

bool names(const std::string& path, const struct stat& folder) {
    struct stat st {};
    return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &st) == 0 &&
           st.st_dev == folder.st_dev && st.st_ino == folder.st_ino;
}

}  // namespace

std::string folderPathOf(int fd) {
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) return {};
    return std::string(target, static_cast<std::size_t>(length));
}

std::string folderRealPath(int fd, const std::string& spelled) {
    struct stat folder {};
    if (::fstat(fd, &folder) != 0) return {};
    // The descriptor's own path cannot have been swapped since the folder was opened; the
    // spelling could, hence the identity check on both.
    if (std::string given = folderPathOf(fd); names(given, folder)) return given;
    if (char* resolved = ::realpath(spelled.c_str(), nullptr)) {
        std::string real(resolved);
        std::free(resolved);
        if (names(real, folder)) return real;
    }
    return {};
}

}  // namespace vidor::platform::linux_
