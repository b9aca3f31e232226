#include "platform/linux/PendingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace vidor::platform::linux_ {

namespace {

// Writes all of `size` bytes; 0, or the error code.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return 0;
}

}  // namespace

PendingFile::PendingFile(int folder, std::string name) : folder_(folder), name_(std::move(name)) {
    // A file without a name vanishes by itself whatever happens, even a power cut; some file
    // systems (network shares) cannot make one, and get a hidden name at once.
    fd_ = UniqueFd(::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    const auto create = [this](const std::string& temp) {
        fd_ = UniqueFd(::openat(folder_, temp.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        return static_cast<bool>(fd_);
    };
    if (!fd_ && !nameIt(create)) error_ = errno;
}

bool PendingFile::nameIt(const std::function<bool(const std::string&)>& make) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, and never the name that anyone looks for.
        std::string temp = "." + name_ + "." + std::to_string(random()) + ".tmp";
        if (make(temp)) {
            temp_ = std::move(temp);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

PendingFile::~PendingFile() {
    if (!temp_.empty()) ::unlinkat(folder_, temp_.c_str(), 0);
}

int PendingFile::copyFrom(int source, std::uint64_t& copied) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0 ? 0 : errno;
        if (const int code = writeAll(fd_.get(), buffer.data(), static_cast<std::size_t>(got))) {
            return code;
        }
        copied += static_cast<std::uint64_t>(got);
    }
}

int PendingFile::seal(mode_t mode, const timespec* modified) {
    if (::fchmod(fd_.get(), mode) != 0) return errno;
    if (modified) {
        const timespec times[2] = {{0, UTIME_OMIT}, *modified};
        if (::futimens(fd_.get(), times) != 0) return errno;
    }
    return ::fsync(fd_.get()) == 0 ? 0 : errno;
}

int PendingFile::putInPlace() {
    // A rename needs a name to start from: given at the last moment.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    const auto link = [&](const std::string& temp) {
        return ::linkat(AT_FDCWD, self.c_str(), folder_, temp.c_str(), AT_SYMLINK_FOLLOW) == 0;
    };
    if (temp_.empty() && !nameIt(link)) return errno;
    if (::renameat(folder_, temp_.c_str(), folder_, name_.c_str()) != 0) return errno;
    temp_.clear();
    // The new file is in place already when this fails: not worth a word.
    ::fsync(folder_);
    return 0;
}

}  // namespace vidor::platform::linux_
