#include "renovex/linux/RunningCopies.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <thread>

namespace vidor::renovex {

namespace {

namespace fs = std::filesystem;

std::optional<FileId> idOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

// True when a process other than this one runs the file `program`. Each process shows its
// program file as /proc/<pid>/exe; those of other users cannot be read and are not seen.
bool runByAnother(const FileId& program) {
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
        const std::string pid = it->path().filename().string();
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (idOf("/proc/" + pid + "/exe") == program) return true;
    }
    return false;
}

}  // namespace

bool waitUntilNotRunning(const FileId& program, std::chrono::steady_clock::time_point deadline) {
    while (runByAnother(program)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace vidor::renovex
