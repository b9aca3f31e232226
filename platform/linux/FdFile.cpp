#include "platform/linux/FdFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vidor::platform::linux_ {

std::unique_ptr<FdFile> FdFile::open(int folder, const std::string& name) {
    // Without O_NONBLOCK a pipe put in the file's place would hang the program until someone
    // writes to it; O_NOCTTY keeps a terminal from becoming the program's own.
    UniqueFd fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return std::unique_ptr<FdFile>(
        new FdFile(std::move(fd), static_cast<std::uint64_t>(st.st_size)));
}

std::optional<std::string> FdFile::readAt(std::uint64_t offset, std::size_t count) const {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_.get(), bytes.data() + done, count - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace vidor::platform::linux_
