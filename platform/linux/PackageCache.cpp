#include "platform/linux/PackageCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/linux/OwnFile.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

// After the table: the number of paths, the table's size and its checksum, as the lists gave
// them.
constexpr std::size_t kTrailer = 3 * sizeof(std::uint64_t);
// Far beyond the table of any system: a larger file is no cache of ours.
constexpr off_t kLargest = off_t{1} << 30;

// The contents of `fd`, when it holds exactly `size` bytes: a file cut or grown meanwhile is
// not the one that was looked at.
std::optional<std::string> readExactly(int fd, std::size_t size) {
    std::string bytes(size + 1, '\0');
    std::size_t got = 0;
    while (got <= size) {
        const ssize_t length = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (length < 0 && errno == EINTR) continue;
        if (length <= 0) break;
        got += static_cast<std::size_t>(length);
    }
    if (got != size) return std::nullopt;
    bytes.resize(size);
    return bytes;
}

std::uint64_t loadWord(const char* at) {
    std::uint64_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The contents of the cache file, when only the running user could have written it (whoever
// may write its folder can only put a file of their own in its place).
std::optional<std::string> ownContents(const std::string& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || st.st_size > kLargest) {
        return std::nullopt;
    }
    return readExactly(fd.get(), static_cast<std::size_t>(st.st_size));
}

}  // namespace

std::string listFolderHeader(const std::string& folder, timespec* modified) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) st = {};
    if (modified) *modified = st.st_mtim;
    std::string header = "vidor-dpkg 2\n" + folder + '\n';
    for (const long long value :
         {static_cast<long long>(st.st_dev), static_cast<long long>(st.st_ino),
          static_cast<long long>(st.st_mtim.tv_sec), static_cast<long long>(st.st_mtim.tv_nsec),
          static_cast<long long>(st.st_ctim.tv_sec), static_cast<long long>(st.st_ctim.tv_nsec)}) {
        header += std::to_string(value) + ' ';
    }
    header.back() = '\n';
    return header;
}

std::optional<PathSet> readPackageCache(const std::string& file, const std::string& header) {
    if (file.empty()) return std::nullopt;
    auto contents = ownContents(file);
    if (!contents || !contents->starts_with(header) ||
        contents->size() < header.size() + kTrailer) {
        return std::nullopt;
    }
    const auto bytes = std::make_shared<const std::string>(std::move(*contents));
    const char* trailer = bytes->data() + bytes->size() - kTrailer;
    const std::string_view image(bytes->data() + header.size(),
                                 bytes->size() - header.size() - kTrailer);
    const std::uint64_t count = loadWord(trailer);
    if (count == 0 || loadWord(trailer + 8) != image.size() ||
        loadWord(trailer + 16) != PathSet::checksum(image)) {
        return std::nullopt;
    }
    auto table = PathSet::fromImage(image, bytes);
    if (!table || table->size() != count) return std::nullopt;
    return table;
}

bool writePackageCache(const std::string& file, const std::string& header, const PathSet& table) {
    const std::string_view image = table.image();
    std::string contents;
    contents.reserve(header.size() + image.size() + kTrailer);
    contents.append(header).append(image);
    for (const std::uint64_t word : {std::uint64_t{table.size()}, std::uint64_t{image.size()},
                                     PathSet::checksum(image)}) {
        contents.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    return writeOwnFile(file, contents);
}

}  // namespace vidor::platform::linux_
