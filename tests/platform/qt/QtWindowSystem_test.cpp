#include "platform/qt/QtWindowSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "update/Messages.h"

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

// The texts of a dialog's buttons, sorted, each followed by "|".
std::string buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) texts << button->text();
    texts.sort();
    return (texts.join('|') + '|').toStdString();
}

void press(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) button->click();
    }
}

TEST(QtWindowSystemTest, DialogsSpeakFrenchAndThePromptFitsASmallScreen) {
    QtWindowSystem windows;
    std::string texts;
    onModal([&](QWidget* box) {
        texts = buttonTexts(box);
        press(box, "Non");
    });
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Brenlo"),
              Answer::No);
    EXPECT_EQ(texts, "Non|Oui|");
    onModal([&](QWidget* box) {
        texts = buttonTexts(box);
        press(box, "OK");
    });
    EXPECT_EQ(windows.messageBox("Fin.", Buttons::Ok, Icon::Exclamation, "Vidor"), Answer::Ok);
    EXPECT_EQ(texts, "OK|");

    // The longest prompt of the program.
    int width = 0;
    bool wholeText = false;
    onModal([&](QWidget* prompt) {
        texts = buttonTexts(prompt);
        width = prompt->frameGeometry().width();
        auto* label = prompt->findChild<QLabel*>();
        wholeText = label->height() >= label->heightForWidth(label->width());
        press(prompt, "Annuler");
    });
    EXPECT_EQ(windows.inputBox(update::folderPrompt(true), "Brenlo", "/srv/maj/"), "");
    EXPECT_EQ(texts, "Annuler|OK|");
    EXPECT_LE(width, 1024);
    EXPECT_TRUE(wholeText);
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

}  // namespace
}  // namespace vidor::platform::qt
