// The start of the program with Qt Widgets, on Linux.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProgramRun.h"
#include "platform/linux/Display.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform {

namespace {

// Scheduled runs print the program's own messages only, never the toolkit's.
void dropToolkitMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

class QtToolkit : public Toolkit {
  public:
    QtToolkit(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    Screen screen() override {
        const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
        if (!chosen.isEmpty())
            return linux_::drawsNowhere(chosen.toStdString()) ? Screen::Unseen : Screen::Seen;
        return linux_::displayReachable() ? Screen::Seen : Screen::None;
    }

    GuardedWindowSystem& start(const RunMode& mode) override {
        if (mode.withParameters) qInstallMessageHandler(dropToolkitMessage);
        // The minimal platform loads no fonts: nothing is drawn, and the start is shorter.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !mode.screen)
            qputenv("QT_QPA_PLATFORM", "minimal");
        application_.emplace(argc_, argv_);
        application_->setQuitOnLastWindowClosed(false);
        QFont font = QApplication::font();
        font.setPointSize(8);  // the size the window's layout was drawn for
        QApplication::setFont(font);
        QApplication::setWindowIcon(QIcon(":/fr.brenlo.Vidor.svg"));
        // The window's class, which docks match with the menu entry, whatever name started it
        // (the menu's "vidor" link, or the program's own file).
        QApplication::setApplicationName("Vidor");
        return windows_.emplace(mode);
    }

  private:
    int& argc_;
    char** argv_;
    // The window system ends before the application it uses.
    std::optional<QApplication> application_;
    std::optional<qt::QtWindowSystem> windows_;
};

}  // namespace

int runWithWindows(int argc, char** argv, const MainWindowFactory& makeMainWindow) {
    // The program's parameters, taken before Qt removes the ones it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    linux_::LinuxPlatform machine(linux_::LinuxProcess::runningProgram(), std::move(arguments));
    QtToolkit toolkit(argc, argv);
    return runProgram(
        toolkit, machine.process(),
        [&machine](WindowSystem& windows) { return machine.services(windows); }, makeMainWindow);
}

}  // namespace vidor::platform
