#include "renovex/linux/ProgramFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/linux/PendingFile.h"
#include "platform/linux/ProgramFolderRule.h"
#include "renovex/linux/WholeProgram.h"

namespace vidor::renovex {

namespace {

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

// Renames `file` over the program again and again while the system says the program is busy;
// 0, or the error code.
int putInPlaceWhenFree(platform::linux_::PendingFile& file, Deadline deadline) {
    for (;;) {
        const int code = file.putInPlace();
        if ((code != EBUSY && code != ETXTBSY) || std::chrono::steady_clock::now() >= deadline) {
            return code;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace

ProgramFolder::ProgramFolder(const std::string& program)
    : path_(folderOf(program)), name_(program.substr(program.rfind('/') + 1)) {
    fd_ = platform::linux_::UniqueFd(
        ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd_) {
        const int code = errno;
        struct stat entry {};
        error_ = ::lstat(path_.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)
                     ? "le répertoire " + quoted(path_) + " est un lien"
                     : failure("je ne peux pas ouvrir le répertoire " + quoted(path_), code);
        return;
    }
    error_ = check();
}

std::string ProgramFolder::check() {
    struct stat folder {};
    if (::fstat(fd_.get(), &folder) != 0) {
        return failure("je ne peux pas ouvrir le répertoire " + quoted(path_), errno);
    }
    if (!platform::linux_::writableByOwnerOnly(folder)) {
        return "d'autres utilisateurs peuvent écrire dans le répertoire " + quoted(path_) +
               " : seul son propriétaire doit le pouvoir";
    }
    const std::string program = quoted(path_ + "/" + name_);
    if (::fstatat(fd_.get(), name_.c_str(), &program_, AT_SYMLINK_NOFOLLOW) != 0) {
        return failure("je ne trouve pas le programme " + program, errno);
    }
    if (S_ISLNK(program_.st_mode)) return "le programme " + program + " est un lien";
    if (!S_ISREG(program_.st_mode)) return program + " n'est pas un fichier";
    return {};
}

bool ProgramFolder::install(const NewVersion& newVersion, Deadline deadline, std::string& error) {
    platform::linux_::PendingFile file(fd_.get(), name_);
    if (file.error()) {
        error = failure("je ne peux pas écrire dans le répertoire " + quoted(path_), file.error());
        return false;
    }
    std::uint64_t copied = 0;
    if (const int code = file.copyFrom(newVersion.fd(), copied)) {
        error =
            failure("je ne peux pas copier la nouvelle version " + quoted(newVersion.path()), code);
        return false;
    }
    if (copied != newVersion.size() || !newVersion.unchanged()) {
        error = "la nouvelle version " + quoted(newVersion.path()) +
                " a changé pendant sa copie (elle était peut-être en cours de publication)";
        return false;
    }
    if (!wholeProgram(file.fd(), copied)) {
        error = "la nouvelle version " + quoted(newVersion.path()) +
                " n'est pas un programme complet pour cet ordinateur";
        return false;
    }
    // The rights of the program replaced, never the copy's (a share often shows 0777): never
    // writable by others, never set-id. The copy's date, so that it is no longer newer.
    if (const int code = file.seal(program_.st_mode & 0755, &newVersion.modified())) {
        error = failure(
            "je ne peux pas écrire la nouvelle version dans le répertoire " + quoted(path_), code);
        return false;
    }
    if (const int code = putInPlaceWhenFree(file, deadline)) {
        error = failure("je ne peux pas remplacer le programme", code);
        return false;
    }
    return true;
}

}  // namespace vidor::renovex
