#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/NoScreen.h"
#include "platform/linux/Display.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {

namespace {

// A run with parameters may be a timer's inside a desktop session: no message box waits longer.
constexpr int kUnattendedBoxMilliseconds = 30000;

// Scheduled runs print the program's own messages only, never the toolkit's.
void dropToolkitMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int run(int argc, char** argv, const MainWindowFactory& makeMainWindow) {
    // The program's parameters, taken before Qt removes the ones it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    linux_::LinuxPlatform machine(linux_::LinuxProcess::runningProgram(), std::move(arguments));

    // A scheduled run has no screen: it goes on without one, and never waits for a person.
    const bool withParameters = !machine.process().commandLine().empty();
    if (withParameters) qInstallMessageHandler(dropToolkitMessage);
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool headless = linux_::drawsNowhere(chosen.toStdString());
    if (chosen.isEmpty() && !linux_::displayReachable()) {
        if (!withParameters) {
            std::fputs(kNoScreenMessage, stderr);
            return kExitNoScreen;
        }
        // The minimal platform loads no fonts: nothing is drawn, and the start is shorter.
        qputenv("QT_QPA_PLATFORM", "minimal");
        headless = true;
    }

    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    QFont font = QApplication::font();
    font.setPointSize(8);  // the size the window's layout was drawn for
    QApplication::setFont(font);
    QApplication::setWindowIcon(QIcon(":/fr.brenlo.Vidor.svg"));

    QtWindowSystem windows(headless, withParameters ? kUnattendedBoxMilliseconds : 0);
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
