#include "renovex/linux/NewVersion.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

namespace vidor::renovex {

namespace {

bool same(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

NewVersion::NewVersion(std::string path) : path_(std::move(path)) {
    // Not blocking: a named pipe in place of the new version must not hang the update.
    fd_ = platform::linux_::UniqueFd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd_ || ::fstat(fd_.get(), &opened_) != 0) {
        error_ = "je ne peux pas lire la nouvelle version \"" + path_ + "\" (" +
                 std::strerror(errno) + ")";
    } else if (!S_ISREG(opened_.st_mode)) {
        error_ = "la nouvelle version \"" + path_ + "\" n'est pas un fichier";
    }
}

bool NewVersion::unchanged() const {
    struct stat now {
    }, atPath{};
    return ::fstat(fd_.get(), &now) == 0 && ::stat(path_.c_str(), &atPath) == 0 &&
           same(now, opened_) && same(atPath, opened_);
}

}  // namespace vidor::renovex
