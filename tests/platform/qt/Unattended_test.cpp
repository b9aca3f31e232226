// Runs with parameters, on a screen: nothing waits for a person.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {
namespace {

TEST(UnattendedTest, BoxesCloseByThemselvesWithTheirDefaultAnswerAndPromptsAreCancelled) {
    QtWindowSystem windows(false, 100);
    // A box left open fails the test instead of hanging it.
    bool leftOpen = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            leftOpen = true;
            box->close();
        }
    });
    guard.start(5000);

    // What the toolkit says of its offscreen platform is not the program's.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    testing::internal::CaptureStderr();
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Vidor"),
              Answer::Yes);
    EXPECT_EQ(windows.messageBox("Terminé", Buttons::Ok, Icon::None, "Vidor"), Answer::Ok);
    EXPECT_EQ(windows.inputBox("Répertoire de mise à jour ?", "Vidor", "/srv"), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vidor\nContinuer ?\nVidor\nTerminé\nVidor\nRépertoire de mise à jour ?\n");
    qInstallMessageHandler(previous);
    EXPECT_FALSE(leftOpen);
}

}  // namespace
}  // namespace vidor::platform::qt
