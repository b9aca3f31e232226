#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QFont>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/NoScreen.h"
#include "platform/linux/Display.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {

int run(int argc, char** argv, const MainWindowFactory& makeMainWindow) {
    // The program's parameters, taken before Qt removes the ones it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    linux_::LinuxPlatform machine(linux_::LinuxProcess::runningProgram(), std::move(arguments));

    // A scheduled run has no screen: it goes on without one, and never waits for a person.
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool headless = linux_::drawsNowhere(chosen.toStdString());
    if (chosen.isEmpty() && !linux_::displayReachable()) {
        if (machine.process().commandLine().empty()) {
            std::fputs(kNoScreenMessage, stderr);
            return kExitNoScreen;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
        headless = true;
    }

    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    QFont font = QApplication::font();
    font.setPointSize(8);  // the size the window's layout was drawn for
    QApplication::setFont(font);

    QtWindowSystem windows(headless);
    Services services = machine.services(windows);
    std::unique_ptr<Window> main = makeMainWindow(services);

    windows.guard([&] {
        if (main->onLoad) main->onLoad();
        if (!main->visible()) windows.show(*main);
    });
    const int status = windows.ended() ? windows.status() : QApplication::exec();
    windows.release(*main);
    return status;
}

}  // namespace vidor::platform::qt
