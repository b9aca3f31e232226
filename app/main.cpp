// Vidor: finds and removes temporary files.

#include "app/F_Main.h"
#include "platform/qt/QtMain.h"

int main(int argc, char** argv) {
    return vidor::platform::qt::run(argc, argv, [](vidor::platform::Services& services) {
        return std::make_unique<vidor::app::F_Main>(services);
    });
}
