#include "platform/linux/LinuxJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/linux/OwnFile.h"
#include "platform/linux/PendingFile.h"

namespace vidor::platform::linux_ {

namespace {

constexpr const char* kFileName = "journal.tsv";

std::string stateHome() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return state;
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] == '/' ? home : "") + "/.local/state";
}

std::string folderPath() {
    return stateHome() + "/Brenlo/Vidor";
}

int writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

// True when the last byte of the open file `fd` ends a line (or the file is empty).
bool endsWithLineBreak(int fd) {
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0) ::pread(fd, &last, 1, st.st_size - 1);
    return last == '\n';
}

}  // namespace

LinuxJournal::~LinuxJournal() {
    if (file_) ::fdatasync(file_.get());
}

std::string LinuxJournal::path() {
    return folderPath() + "/" + kFileName;
}

std::int64_t LinuxJournal::now() {
    return clock_ ? clock_() : static_cast<std::int64_t>(std::time(nullptr));
}

int LinuxJournal::utcOffset(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    return ::localtime_r(&t, &local) ? static_cast<int>(local.tm_gmtoff) : 0;
}

UniqueFd LinuxJournal::folder(std::string& error) {
    const std::string folder = folderPath();
    if (!makeOwnFolders(folder)) {
        error = "dossier refusé ou impossible à créer : " + folder;
        return {};
    }
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) {
        error = folder + " : " + std::strerror(errno);
        return {};
    }
    if (!rootMayWrite(st.st_uid)) {
        error = "dossier d'un autre utilisateur : " + folder;
        return {};
    }
    return fd;
}

bool LinuxJournal::open(std::string& error) {
    const UniqueFd dir = folder(error);
    if (!dir) return false;
    UniqueFd file(::openat(
        dir.get(), kFileName,
        O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600));
    struct stat st {};
    if (!file || ::fstat(file.get(), &st) != 0) {
        error = path() + " : " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        error = path() + " n'est pas un fichier de l'utilisateur";
        return false;
    }
    // A line cut short by a crash is closed, so that the next one starts on its own.
    if (!endsWithLineBreak(file.get()) && writeAll(file.get(), "\n") != 0) {
        error = path() + " : " + std::strerror(errno);
        return false;
    }
    file_ = std::move(file);
    return true;
}

bool LinuxJournal::append(const std::string& line, std::string& error) {
    if (!file_ && !open(error)) return false;
    // One write: the line is whole in the file or, after a crash, the only one missing.
    if (const int code = writeAll(file_.get(), line)) {
        error = path() + " : " + std::strerror(code);
        return false;
    }
    const std::int64_t second = static_cast<std::int64_t>(std::time(nullptr));
    if (second != lastSync_) {
        ::fdatasync(file_.get());
        lastSync_ = second;
    }
    return true;
}

std::optional<std::string> LinuxJournal::read() {
    UniqueFd fd(::open(path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string contents;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return contents;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
}

bool LinuxJournal::replace(const std::string& contents) {
    std::string error;
    const UniqueFd dir = folder(error);
    if (!dir) return false;
    // The new file takes the name; a link there is replaced, never written through.
    PendingFile file(dir.get(), kFileName);
    int code = file.error();
    if (code == 0) code = writeAll(file.fd(), contents);
    if (code == 0) code = file.seal(0600, nullptr);
    if (code == 0) code = file.putInPlace();
    // Later lines go to the new file.
    file_.reset();
    return code == 0;
}

void LinuxJournal::systemLog(const std::string& line) {
    ::openlog("vidor", LOG_PID, LOG_USER);
    ::syslog(LOG_NOTICE, "%s", line.c_str());
    ::closelog();
}

}  // namespace vidor::platform::linux_
