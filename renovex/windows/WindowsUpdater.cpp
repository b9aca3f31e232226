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
                           Start start, std::string& error) {
    using platform::windows::widen;
    // The started program inherits this environment: the mark of a failed update is set there
    // for it alone.
    ::SetEnvironmentVariableW(widen(platform::kFailedUpdateVariable).c_str(),
                              start == Start::AfterFailedUpdate ? L"1" : nullptr);
    started_ = platform::windows::WindowsProcess::start(program, parameters, error);
    return static_cast<bool>(started_);
}

int WindowsUpdater::waitForStarted() {
    DWORD status = 1;
    if (::WaitForSingleObject(started_.get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(started_.get(), &status)) {
        return 1;
    }
    return static_cast<int>(status);
}

void WindowsUpdater::tell(const std::string& text) {
    windows::tellUser(text);
}

}  // namespace vidor::renovex
