#include "platform/linux/PackageCache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>

#include "platform/linux/OwnFile.h"
#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

// After the table: the number of paths, the table's size and its checksum, as the lists gave
// them.
constexpr std::size_t kTrailer = 3 * sizeof(std::uint64_t);
// Far beyond the table of any system: a larger file is no cache of ours.
constexpr off_t kLargest = off_t{1} << 30;

// Memory for `size` bytes whose pages are all made at once: made one by one, as a first touch
// makes them, they cost far more (tens of milliseconds for a table, in a virtual machine).
std::shared_ptr<char> populated(std::size_t size) {
    void* at = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (at == MAP_FAILED) return nullptr;
    return {static_cast<char*>(at), [size](char* memory) { ::munmap(memory, size); }};
}

// The contents of `fd`, when it holds exactly `size` bytes: a file cut or grown meanwhile is
// not the one that was looked at. The cache is copied, never mapped: a mapped file cut short
// under the program would kill it at the next question.
std::shared_ptr<char> readExactly(int fd, std::size_t size) {
    auto bytes = populated(size + 1);
    std::size_t got = 0;
    while (bytes && got <= size) {
        const ssize_t length = ::read(fd, bytes.get() + got, size + 1 - got);
        if (length < 0 && errno == EINTR) continue;
        if (length <= 0) break;
        got += static_cast<std::size_t>(length);
    }
    return got == size ? bytes : nullptr;
}

std::uint64_t loadWord(const char* at) {
    std::uint64_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The contents of the cache file and their size, when only the running user could have written
// it (whoever may write its folder can only put a file of their own in its place).
std::pair<std::shared_ptr<char>, std::size_t> ownContents(const std::string& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || st.st_size > kLargest) {
        return {};
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    return {readExactly(fd.get(), size), size};
}

}  // namespace

std::string listFolderHeader(const std::string& folder, timespec* modified) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) st = {};
    if (modified) *modified = st.st_mtim;
    std::string header = "vidor-dpkg 3\n" + folder + '\n';
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
    const auto [bytes, size] = ownContents(file);
    const std::string_view contents(bytes.get(), bytes ? size : 0);
    if (!contents.starts_with(header) || contents.size() < header.size() + kTrailer) {
        return std::nullopt;
    }
    const char* trailer = contents.data() + contents.size() - kTrailer;
    const std::string_view image =
        contents.substr(header.size(), contents.size() - header.size() - kTrailer);
    const std::uint64_t count = loadWord(trailer);
    if (count == 0 || loadWord(trailer + 8) != image.size() ||
        loadWord(trailer + 16) != PathSet::checksum(std::span(&image, 1))) {
        return std::nullopt;
    }
    auto table = PathSet::fromImage(image, bytes);
    if (!table || table->size() != count) return std::nullopt;
    return table;
}

bool writePackageCache(const std::string& file, const std::string& header, const PathSet& table) {
    const std::array<std::string_view, 4> image = table.image();
    const std::size_t size =
        std::accumulate(image.begin(), image.end(), std::size_t{0},
                        [](std::size_t sum, std::string_view piece) { return sum + piece.size(); });
    const std::array<std::uint64_t, 3> trailer = {table.size(), size, PathSet::checksum(image)};
    const std::array<std::string_view, 6> pieces = {
        header,   image[0],
        image[1], image[2],
        image[3], std::string_view(reinterpret_cast<const char*>(trailer.data()), kTrailer)};
    return writeOwnFile(file, pieces);
}

}  // namespace vidor::platform::linux_
