#include "platform/qt/QtWindowSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace vidor::platform::qt {
namespace {

// Runs `act` on the modal dialog once it is shown.
void onModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else
            onModal(act);
    });
}

void press(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) button->click();
    }
}

TEST(QtWindowSystemTest, DialogsSpeakFrenchAndGiveTheAnswerChosen) {
    QtWindowSystem windows;
    // A button that is not there leaves the dialog open, failed by the watchdog of main.cpp.
    onModal([&](QWidget* box) { press(box, "Non"); });
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Brenlo"),
              Answer::No);

    onModal([&](QWidget* prompt) { press(prompt, "Annuler"); });
    EXPECT_EQ(windows.inputBox("Répertoire :", "Brenlo", "/srv/maj/"), "");
    onModal([&](QWidget* prompt) { press(prompt, "OK"); });
    EXPECT_EQ(windows.inputBox("Répertoire :", "Brenlo", "/srv/maj/"), "/srv/maj/");
}

TEST(QtWindowSystemTest, WithoutAScreenDialogsTakeTheirDefaultAnswerAtOnce) {
    QtWindowSystem windows(true);
    EXPECT_EQ(
        windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Brenlo - Attention"),
        Answer::Yes);
    EXPECT_EQ(windows.messageBox("Fin.", Buttons::Ok, Icon::Exclamation, "Vidor"), Answer::Ok);
    EXPECT_EQ(windows.inputBox("Répertoire de mise à jour :", "Brenlo", "/srv/maj/"), "");
}

// Runs with parameters, on a screen: nothing waits for a person (a box left open is closed and
// failed by the watchdog of main.cpp).
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
