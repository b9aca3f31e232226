#include "platform/linux/FileInUse.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/linux/LateClose.h"
#include "platform/linux/SystemReason.h"

namespace vidor::platform::linux_ {

namespace {

// A program that opens a held file makes the system send the holder SIGIO, which would end this
// program. Handled once for the whole process rather than redirected on each file: on a removal
// of many files, every system call counts. A handler, unlike an ignored signal, does not pass on
// to the programs this one starts.
void ignoreBreakNotice(int) {}

void handleBreakNotices() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = ignoreBreakNotice;
        action.sa_flags = SA_RESTART;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(SIGIO, &action, nullptr);
    });
}

// True when one of the descriptors listed in the folder `fdsFd` (a /proc/<pid>/fd) is the file.
bool descriptorsHold(int fdsFd, dev_t device, ino_t inode) {
    DIR* dir = ::fdopendir(fdsFd);
    if (!dir) {
        ::close(fdsFd);
        return false;
    }
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        // The entries are links to what each descriptor has open: followed, they give its file.
        if (entry->d_name[0] != '.' && ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 &&
            st.st_dev == device && st.st_ino == inode) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// True when a line of the mappings `mapsFd` (a /proc/<pid>/maps) maps the file: a mapping keeps
// the file in use after its descriptor is closed.
bool mappingsHold(int mapsFd, dev_t device, ino_t inode) {
    FILE* maps = ::fdopen(mapsFd, "r");
    if (!maps) {
        ::close(mapsFd);
        return false;
    }
    bool found = false;
    char line[512];
    while (!found && std::fgets(line, sizeof line, maps)) {
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long long number = 0;
        // address, rights, offset, device (hexadecimal major:minor), inode, path
        found = std::sscanf(line, "%*s %*s %*s %x:%x %llu", &major, &minor, &number) == 3 &&
                number == inode && makedev(major, minor) == device;
        // A long path leaves the rest of its line for the next reads.
        while (!std::strchr(line, '\n') && std::fgets(line, sizeof line, maps)) {
        }
    }
    std::fclose(maps);
    return found;
}

bool processHolds(int procFd, const char* pid, dev_t device, ino_t inode) {
    const std::string fds = std::string(pid) + "/fd";
    const int fdsFd = ::openat(procFd, fds.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdsFd >= 0 && descriptorsHold(fdsFd, device, inode)) return true;
    const std::string maps = std::string(pid) + "/maps";
    const int mapsFd = ::openat(procFd, maps.c_str(), O_RDONLY | O_CLOEXEC);
    return mapsFd >= 0 && mappingsHold(mapsFd, device, inode);
}

}  // namespace

bool openElsewhere(dev_t device, ino_t inode) {
    DIR* proc = ::opendir("/proc");
    if (!proc) return false;
    const std::string self = std::to_string(::getpid());
    bool found = false;
    while (!found) {
        const dirent* entry = ::readdir(proc);
        if (!entry) break;
        const char* name = entry->d_name;
        if (name[0] < '1' || name[0] > '9' || self == name) continue;
        found = processHolds(::dirfd(proc), name, device, inode);
    }
    ::closedir(proc);
    return found;
}

std::string holdIfUnused(int folderFd, const std::string& name, const struct stat& st,
                         UniqueFd& hold) {
    if (!S_ISREG(st.st_mode)) return {};
    // Without waiting: a file under another holder's lease (a file server's) is in use.
    const auto open = [&] {
        return UniqueFd(::openat(folderFd, name.c_str(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    };
    UniqueFd file = open();
    if (!file && errno == EMFILE) {
        // The holds of the files just removed may be what uses the last descriptors.
        LateClose::shared().closeAll();
        file = open();
    }
    if (!file) {
        if (errno == EWOULDBLOCK) return kFileInUse;
        // Nothing can be looked at either: the file stays rather than go unchecked.
        if (errno == EMFILE || errno == ENFILE || errno == ENOMEM) return reasonOf(errno);
    }
    // Should the name have been given to another file since `st` was read, the file held is the
    // one the name now gives, the one the removal by name takes.
    if (file) {
        handleBreakNotices();
        // Granted only while no other descriptor of the file is open, nor any mapping of it.
        if (::fcntl(file.get(), F_SETLEASE, F_WRLCK) == 0) {
            hold = std::move(file);
            return {};
        }
        if (errno == EAGAIN) return kFileInUse;
    }
    // Not ours to lease, not readable, or on a file system without leases.
    return openElsewhere(st.st_dev, st.st_ino) ? kFileInUse : std::string();
}

}  // namespace vidor::platform::linux_
