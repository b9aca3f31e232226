#include "renovex/linux/WholeProgram.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <cstring>

#include "platform/linux/UniqueFd.h"

namespace vidor::renovex {

namespace {

template <typename T>
bool readAt(int fd, std::uint64_t offset, T& value) {
    return ::pread(fd, &value, sizeof value, static_cast<off_t>(offset)) ==
           static_cast<ssize_t>(sizeof value);
}

// The header of this very program: what a program for this machine looks like.
bool ownHeader(ElfW(Ehdr) & header) {
    const platform::linux_::UniqueFd self(::open("/proc/self/exe", O_RDONLY | O_CLOEXEC));
    return self && readAt(self.get(), 0, header);
}

// True when `count` entries of `entrySize` bytes from `offset` lie within `size` bytes.
bool within(std::uint64_t offset, std::uint64_t count, std::uint64_t entrySize,
            std::uint64_t size) {
    return offset <= size && count * entrySize <= size - offset;
}

bool sameKind(const ElfW(Ehdr) & header, const ElfW(Ehdr) & own) {
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == own.e_ident[EI_CLASS] &&
           header.e_ident[EI_DATA] == own.e_ident[EI_DATA] && header.e_machine == own.e_machine &&
           (header.e_type == ET_EXEC || header.e_type == ET_DYN);
}

// Every segment the program loads lies within the file.
bool segmentsWithin(int fd, const ElfW(Ehdr) & header, std::uint64_t size) {
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ElfW(Phdr)) ||
        !within(header.e_phoff, header.e_phnum, sizeof(ElfW(Phdr)), size)) {
        return false;
    }
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment{};
        if (!readAt(fd, header.e_phoff + i * sizeof segment, segment) ||
            !within(segment.p_offset, 1, segment.p_filesz, size)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool wholeProgram(int fd, std::uint64_t size) {
    ElfW(Ehdr) header{}, own{};
    if (size < sizeof header || !readAt(fd, 0, header) || !ownHeader(own)) return false;
    if (!sameKind(header, own) || !segmentsWithin(fd, header, size)) return false;
    // The table of sections usually ends the file: a copy cut anywhere loses it.
    return header.e_shnum == 0 || within(header.e_shoff, header.e_shnum, header.e_shentsize, size);
}

}  // namespace vidor::renovex
