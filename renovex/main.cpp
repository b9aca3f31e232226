// Renovex: replaces a program by its new version once the program has ended, then starts it
// with the parameters of the run that met the update.
// Usage: Renovex "<new version>" "<program file>" [parameters...]

#include <clocale>

#include "renovex/Renovex.h"
#include "renovex/linux/LinuxUpdater.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the system's reasons for errors in the user's language
    vidor::renovex::LinuxUpdater updater;
    return vidor::renovex::runUpdate(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), updater);
}
