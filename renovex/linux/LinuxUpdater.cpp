#include "renovex/linux/LinuxUpdater.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Process.h"
#include "renovex/linux/Notice.h"

namespace vidor::renovex {

namespace {

// This process's environment, with the mark of a failed update when `start` asks for it and
// without it otherwise (the updater may have been started by such a program).
std::vector<std::string> environmentFor(Start start) {
    const std::string mark = std::string(platform::kFailedUpdateVariable) + "=";
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        if (!std::string_view(*variable).starts_with(mark)) variables.emplace_back(*variable);
    }
    if (start == Start::AfterFailedUpdate) variables.push_back(mark + "1");
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

bool LinuxUpdater::openProgram(const std::string& program, std::string& error) {
    folder_ = std::make_unique<ProgramFolder>(program);
    error = folder_->error();
    return error.empty();
}

bool LinuxUpdater::waitUntilEnded(Deadline deadline) {
    return waitUntilNotRunning(folder_->programId(), deadline);
}

bool LinuxUpdater::install(const std::string& newVersion, Deadline deadline, std::string& error) {
    const NewVersion copy(newVersion);
    error = copy.error();
    return error.empty() && folder_->install(copy, deadline, error);
}

bool LinuxUpdater::start(const std::string& program, const std::vector<std::string>& parameters,
                         Start start, std::string& error) {
    std::vector<std::string> arguments{program};
    arguments.insert(arguments.end(), parameters.begin(), parameters.end());
    std::vector<std::string> environment = environmentFor(start);
    const int code = ::posix_spawn(&started_, program.c_str(), nullptr, nullptr,
                                   pointers(arguments).data(), pointers(environment).data());
    if (code == 0) return true;
    error = std::strerror(code);
    started_ = -1;
    return false;
}

int LinuxUpdater::waitForStarted() {
    int status = 0;
    while (::waitpid(started_, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

void LinuxUpdater::tell(const std::string& text) {
    tellUser(text);
}

}  // namespace vidor::renovex
