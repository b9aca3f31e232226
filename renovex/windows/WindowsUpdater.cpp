#include "renovex/windows/WindowsUpdater.h"

#include <windows.h>

#include "platform/windows/Wide.h"
#include "platform/windows/WindowsProcess.h"
#include "renovex/windows/Steps.h"

namespace vidor::renovex {

bool WindowsUpdater::openProgram(const std::string& program, std::string& error) {
    const std::size_t slash = program.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : program.substr(0, slash);
    const DWORD attributes = ::GetFileAttributesW(platform::windows::longPath(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "le dossier du programme \"" + folder + "\" est introuvable";
        return false;
    }
    program_ = program;
    return true;
}

bool WindowsUpdater::waitUntilEnded(Deadline deadline) {
    return windows::waitUntilNotRunning(program_, deadline);
}

bool WindowsUpdater::install(const std::string& newVersion, Deadline deadline, std::string& error) {
    return windows::installCopy(newVersion, program_, deadline, error);
}

bool WindowsUpdater::start(const std::string& program, const std::vector<std::string>& parameters,
                           std::string& error) {
    return platform::windows::WindowsProcess::startDetached(program, parameters, error);
}

void WindowsUpdater::tell(const std::string& text) {
    windows::tellUser(text);
}

}  // namespace vidor::renovex
