// Renovex: replaces a program by its new version once the program has ended, then starts it.
// Usage: Renovex "<new version>" "<program file>"

#include <chrono>
#include <clocale>
#include <string>

#ifdef _WIN32
#include "platform/windows/WindowsProcess.h"
using ProgramStarter = vidor::platform::windows::WindowsProcess;
#else
#include "platform/linux/LinuxProcess.h"
using ProgramStarter = vidor::platform::linux_::LinuxProcess;
#endif
#include "renovex/Notice.h"
#include "renovex/Replace.h"
#include "renovex/RunningCopies.h"

namespace {

using namespace vidor::renovex;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

int failed(const std::string& program, const std::string& why) {
    tellUser("La mise à jour du programme " + quoted(program) + " a échoué : " + why +
             ".\nL'ancienne version reste en place.");
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the system's reasons for errors in the user's language
    if (argc != 3) {
        tellUser(
            "Renovex remplace un programme par sa nouvelle version, puis le relance.\n"
            "Utilisation : Renovex \"<nouvelle version>\" \"<programme>\"");
        return kExitUsage;
    }
    const std::string newVersion = argv[1];
    const std::string program = argv[2];
    // The program ends right after starting this one; it is not waited for longer than this.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    if (!waitUntilNotRunning(program, deadline)) {
        return failed(program, "il fonctionne encore après 30 secondes");
    }
    std::string error;
    if (!replaceProgram(newVersion, program, deadline, error)) return failed(program, error);
    if (!ProgramStarter::startDetached(program, {}, error)) {
        tellUser("Le programme " + quoted(program) +
                 " a été mis à jour mais je ne peux pas le lancer (" + error + ").");
        return kExitFailed;
    }
    return 0;
}
