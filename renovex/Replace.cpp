#include "renovex/Replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/linux/UniqueFd.h"

namespace vidor::renovex {

namespace {

using platform::linux_::UniqueFd;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// `what`, then the system's reason for the error `code` in parentheses.
std::string failure(const std::string& what, int code) {
    return what + " (" + std::strerror(code) + ")";
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// A hidden file beside the program that receives the new version; it is removed at the end
// unless it was put in the program's place.
class TempFile {
  public:
    explicit TempFile(const std::string& program)
        : path_(folderOf(program) + "/." + nameOf(program) + ".renovex-XXXXXX") {
        fd_ = UniqueFd(::mkostemp(path_.data(), O_CLOEXEC));
        if (!fd_) path_.clear();
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    explicit operator bool() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    int fd() const { return fd_.get(); }
    // Closes the file; 0, or the error code of a write that failed late.
    int close() { return ::close(fd_.release()) == 0 ? 0 : errno; }
    // The file now is the program: it must stay.
    void placed() { path_.clear(); }

  private:
    std::string path_;
    UniqueFd fd_;
};

// Copies everything `in` holds to `out`; 0, or the error code.
int copyAll(int in, int out) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0 ? 0 : errno;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put =
                ::write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return errno;
            done += put;
        }
    }
}

// Fills `temp` with the new version read from `source`, of mode `mode`, and flushes it to disk;
// 0, or the error code.
int fill(TempFile& temp, int source, mode_t mode) {
    if (const int code = copyAll(source, temp.fd())) return code;
    // The owner must be able to start the program; set-id bits are not carried over.
    if (::fchmod(temp.fd(), (mode & 0777) | S_IXUSR) != 0) return errno;
    if (::fsync(temp.fd()) != 0) return errno;
    return temp.close();
}

// Renames `from` over `to`, again and again while the system says `to` is busy; 0, or the
// error code.
int renameWhenFree(const std::string& from, const std::string& to,
                   std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (::rename(from.c_str(), to.c_str()) == 0) return 0;
        const int code = errno;
        if ((code != EBUSY && code != ETXTBSY) || std::chrono::steady_clock::now() >= deadline) {
            return code;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// Makes the rename itself last through a power cut. The program is in place already when this
// fails, so a failure is not worth telling.
void syncFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

// Opens the new version, a plain file, for reading and tells its `st`; nothing, with `error`
// said, when it cannot be read or is no plain file.
UniqueFd openNewVersion(const std::string& path, struct stat& st, std::string& error) {
    // Not blocking: a named pipe in place of the new version must not hang the update.
    UniqueFd source(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!source || ::fstat(source.get(), &st) != 0) {
        error = failure("je ne peux pas lire la nouvelle version " + quoted(path), errno);
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        error = "la nouvelle version " + quoted(path) + " n'est pas un fichier";
        return {};
    }
    return source;
}

}  // namespace

bool replaceProgram(const std::string& newVersion, const std::string& program,
                    std::chrono::steady_clock::time_point deadline, std::string& error) {
    struct stat st {};
    UniqueFd source = openNewVersion(newVersion, st, error);
    if (!source) return false;
    TempFile temp(program);
    if (!temp) {
        error =
            failure("je ne peux pas écrire dans le répertoire " + quoted(folderOf(program)), errno);
        return false;
    }
    if (const int code = fill(temp, source.get(), st.st_mode)) {
        error =
            failure("je ne peux pas écrire la nouvelle version dans " + quoted(temp.path()), code);
        return false;
    }
    if (const int code = renameWhenFree(temp.path(), program, deadline)) {
        error = failure("je ne peux pas remplacer " + quoted(program), code);
        return false;
    }
    temp.placed();
    syncFolder(folderOf(program));
    return true;
}

}  // namespace vidor::renovex
