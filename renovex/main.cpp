// Renovex: replaces a program by its new version once the program has ended, then starts it
// with the parameters of the run that met the update.
// Usage: Renovex "<new version>" "<program file>" [parameters...]

#include <clocale>

#include "renovex/Renovex.h"
#ifdef _WIN32
#include "renovex/windows/WindowsUpdater.h"
using PlatformUpdater = vidor::renovex::WindowsUpdater;
#else
#include "renovex/linux/LinuxUpdater.h"
using PlatformUpdater = vidor::renovex::LinuxUpdater;
#endif

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the system's reasons for errors in the user's language
    PlatformUpdater updater;
    return vidor::renovex::runUpdate(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), updater);
}
