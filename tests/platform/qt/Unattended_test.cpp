// Runs with parameters, on a screen: nothing waits for a person (a box left open is closed and
// failed by the watchdog of main.cpp).

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {
namespace {

TEST(UnattendedTest, BoxesCloseByThemselvesWithTheirDefaultAnswerAndPromptsAreCancelled) {
    QtWindowSystem windows(false, 100);
    // What the toolkit says of its offscreen platform is not the program's.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    testing::internal::CaptureStderr();
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Vidor"),
              Answer::Yes);
    EXPECT_EQ(windows.messageBox("Terminé.\r\n\r\nFin", Buttons::Ok, Icon::None, "Vidor"),
              Answer::Ok);
    EXPECT_EQ(windows.inputBox("Répertoire de mise à jour ?", "Vidor", "/srv"), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vidor\nContinuer ?\nVidor\nTerminé.\n\nFin\nVidor\nRépertoire de mise à jour ?\n");
    qInstallMessageHandler(previous);
}

}  // namespace
}  // namespace vidor::platform::qt
