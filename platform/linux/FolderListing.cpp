#include "platform/linux/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

namespace vidor::platform::linux_ {

namespace {

constexpr std::size_t kListingBuffer = 32 * 1024;

// The kind of an entry from its listing; only a file system that does not tell costs a call.
EntryKind kindOf(int folder, const char* name, unsigned char type) {
    switch (type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::File;  // a link, a device or a pipe is a file to the program
    }
    struct stat st {};
    if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Unknown;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::File;
}

}  // namespace

void FolderListing::add(std::string_view name, EntryKind kind) {
    data_ += static_cast<char>(kind);
    data_ += name;
    data_ += '\0';
}

std::size_t FolderListing::decode(std::size_t at, FolderEntry& entry) const {
    entry.kind = static_cast<EntryKind>(data_[at]);
    const char* name = data_.data() + at + 1;
    const std::size_t length = std::strlen(name);
    entry.name.assign(name, length);
    return at + length + 2;
}

bool FolderListing::next(FolderEntry& entry) {
    if (read_ >= data_.size()) return false;
    read_ = decode(read_, entry);
    return true;
}

void FolderListing::clear() {
    data_.clear();
    read_ = 0;
}

bool readListing(int fd, FolderListing& listing, std::vector<char>& buffer) {
    if (fd < 0) return false;
    if (buffer.size() < kListingBuffer) buffer.resize(kListingBuffer);
    const long read = ::syscall(SYS_getdents64, fd, buffer.data(), buffer.size());
    if (read <= 0) return false;  // the end, or a failure that ends the listing
    for (long offset = 0; offset < read;) {
        auto* dirent = reinterpret_cast<struct dirent64*>(buffer.data() + offset);
        offset += dirent->d_reclen;
        const char* name = dirent->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (std::strchr(name, '\\')) continue;
        listing.add(name, kindOf(fd, name, dirent->d_type));
    }
    return true;
}

}  // namespace vidor::platform::linux_
