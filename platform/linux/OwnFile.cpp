#include "platform/linux/OwnFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

constexpr mode_t kNewFileMode = 0644;

bool trustedOwner(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> realPath(const std::string& path) {
    char real[PATH_MAX];
    if (!::realpath(path.c_str(), real)) return std::nullopt;
    return std::string(real);
}

}  // namespace

bool rootMayWrite(uid_t owner) {
    return ::geteuid() != 0 || owner == 0;
}

bool makeOwnFolders(const std::string& folder) {
    struct stat st {};
    std::string prefix;
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        const std::string parent = prefix.empty() ? "/" : prefix;
        prefix = folder.substr(0, at);
        if (::lstat(prefix.c_str(), &st) == 0) {
            const bool link = S_ISLNK(st.st_mode);
            if (link && !trustedOwner(st.st_uid)) return false;
            if (::stat(prefix.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
            if (link && !trustedOwner(st.st_uid)) return false;
            continue;
        }
        if (::stat(parent.c_str(), &st) != 0 || !rootMayWrite(st.st_uid)) return false;
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return true;
}

namespace {

// Where the contents of `path` really go, or nullopt when they must not be written there.
std::optional<std::string> writableTarget(const std::string& path, mode_t& mode) {
    if (path.empty() || path[0] != '/' || !makeOwnFolders(folderOf(path))) return std::nullopt;
    struct stat st {};
    std::string target = path;
    mode = kNewFileMode;
    if (::lstat(path.c_str(), &st) == 0) {
        // A link is written through only when it and its file are the running user's own.
        if (S_ISLNK(st.st_mode)) {
            if (st.st_uid != ::geteuid() || ::stat(path.c_str(), &st) != 0 ||
                st.st_uid != ::geteuid())
                return std::nullopt;
            const auto real = realPath(path);
            if (!real) return std::nullopt;
            target = *real;
        }
        if (!S_ISREG(st.st_mode) || !rootMayWrite(st.st_uid)) return std::nullopt;
        mode = st.st_mode & 0777;
    } else if (errno != ENOENT) {
        return std::nullopt;
    }
    const auto folder = realPath(folderOf(target));
    if (!folder || ::stat(folder->c_str(), &st) != 0 || !rootMayWrite(st.st_uid)) {
        return std::nullopt;
    }
    return (*folder == "/" ? "" : *folder) + target.substr(target.rfind('/'));
}

bool writeAll(int fd, std::span<const std::string_view> pieces) {
    for (const std::string_view piece : pieces) {
        for (std::size_t done = 0; done < piece.size();) {
            const ssize_t written = ::write(fd, piece.data() + done, piece.size() - done);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            done += static_cast<std::size_t>(written);
        }
    }
    return ::fsync(fd) == 0;
}

}  // namespace

std::optional<std::string> readOwnFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string contents;
    char buffer[8192];
    ssize_t length = 0;
    while ((length = ::read(fd.get(), buffer, sizeof buffer)) != 0) {
        if (length < 0 && errno == EINTR) continue;
        if (length < 0) return std::nullopt;
        contents.append(buffer, static_cast<std::size_t>(length));
    }
    return contents;
}

bool writeOwnFile(const std::string& path, const std::string& contents) {
    const std::string_view whole = contents;
    return writeOwnFile(path, std::span(&whole, 1));
}

bool writeOwnFile(const std::string& path, std::span<const std::string_view> pieces) {
    mode_t mode = kNewFileMode;
    const auto target = writableTarget(path, mode);
    if (!target) return false;
    std::string temporary = folderOf(*target) + "/." + target->substr(target->rfind('/') + 1);
    temporary += ".XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd) return false;
    if (::fchmod(fd.get(), mode) != 0 || !writeAll(fd.get(), pieces) ||
        ::rename(temporary.c_str(), target->c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace vidor::platform::linux_
