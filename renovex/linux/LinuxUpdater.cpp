#include "renovex/linux/LinuxUpdater.h"

#include "platform/linux/LinuxProcess.h"
#include "renovex/linux/Notice.h"

namespace vidor::renovex {

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
                         std::string& error) {
    return platform::linux_::LinuxProcess::startDetached(program, parameters, error);
}

void LinuxUpdater::tell(const std::string& text) {
    tellUser(text);
}

}  // namespace vidor::renovex
