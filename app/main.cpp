// Vidor: finds and removes temporary files.

#include "app/F_Main.h"
#ifdef _WIN32
#include "platform/win32/Win32Main.h"
#else
#include "platform/qt/QtMain.h"
#endif

namespace {

std::unique_ptr<vidor::platform::Window> makeMainWindow(vidor::platform::Services& services) {
    return std::make_unique<vidor::app::F_Main>(services);
}

}  // namespace

#ifdef _WIN32
int main() {
    return vidor::platform::win32::run(makeMainWindow);
}
#else
int main(int argc, char** argv) {
    return vidor::platform::qt::run(argc, argv, makeMainWindow);
}
#endif
