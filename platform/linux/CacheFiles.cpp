#include "platform/linux/CacheFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace vidor::platform::linux_ {

namespace {

bool isOfKind(int folder, const dirent& entry, NameKind kind) {
    unsigned char type = entry.d_type;
    if (type == DT_UNKNOWN) {
        // Some file systems do not tell the kind in the listing.
        struct stat st {};
        if (::fstatat(folder, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    return type == (kind == NameKind::Folder ? DT_DIR : DT_REG);
}

}  // namespace

UniqueFd openFolderBelow(int from, std::string_view path) {
    UniqueFd folder;
    int current = from;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string name(path.substr(start, end - start));
        folder = UniqueFd(
            ::openat(current, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!folder) return {};
        current = folder.get();
        start = end + 1;
    }
    return folder;
}

std::vector<std::string> sortedNames(int folder, NameKind kind) {
    std::vector<std::string> names;
    const int copy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(copy), ::closedir);
    if (!dir) {
        ::close(copy);
        return names;
    }
    // The copy shares its reading position with `folder`, which an earlier listing moved.
    ::rewinddir(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && isOfKind(folder, *entry, kind)) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<OpenFile> openRegularFile(int folder, const std::string& name) {
    // Without O_NONBLOCK a FIFO put in the file's place would hang the program.
    UniqueFd fd(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return OpenFile{std::move(fd), static_cast<std::uint64_t>(st.st_size)};
}

std::optional<std::string> readAt(int fd, std::uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace vidor::platform::linux_
