#include "platform/qt/QtWindowSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/qt/DesignedPalette.h"
#include "tests/platform/WindowTest.h"
#include "tests/platform/qt/DarkDesktop.h"

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

// The dialogs, in a dark desktop theme too, look like the window they come from.
TEST(QtWindowSystemTest, DialogsSpeakFrenchAndGiveTheAnswerChosen) {
    test::DarkDesktop dark;
    QtWindowSystem windows;
    const QColor surface = designedPalette().color(QPalette::Window);
    // A button that is not there leaves the dialog open, failed by the watchdog of main.cpp.
    onModal([&](QWidget* box) {
        EXPECT_EQ(box->palette().color(QPalette::Window), surface);
        press(box, "Non");
    });
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Brenlo"),
              Answer::No);

    onModal([&](QWidget* prompt) {
        EXPECT_EQ(prompt->palette().color(QPalette::Window), surface);
        press(prompt, "Annuler");
    });
    EXPECT_EQ(windows.inputBox("Répertoire :", "Brenlo", "/srv/maj/"), "");
    onModal([&](QWidget* prompt) { press(prompt, "OK"); });
    EXPECT_EQ(windows.inputBox("Répertoire :", "Brenlo", "/srv/maj/"), "/srv/maj/");
}

// Closes `window` as soon as its widget is shown, as a handler that runs while it loads would.
struct CloseOnShow : QObject {
    CloseOnShow(QtWindowSystem& windows, Window& window) : windows(windows), window(window) {
        qApp->installEventFilter(this);
    }
    ~CloseOnShow() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() &&
            windows.windowOf(static_cast<QWidget*>(object)) == &window)
            window.close();
        return false;
    }
    QtWindowSystem& windows;
    Window& window;
};

TEST(QtWindowSystemTest, AModalWindowClosedWhileItLoadsEndsItsShowing) {
    QtWindowSystem windows;
    test::Sample window;
    CloseOnShow closing(windows, window);
    // Were the modal loop entered after the window closed, nothing would end it but this.
    QTimer::singleShot(2000, &closing, [&] {
        ADD_FAILURE() << "the modal loop of a window closed while it loaded went on";
        window.setVisible(true);
        window.setVisible(false);
    });
    windows.showModal(window);
    EXPECT_FALSE(window.visible());
}

}  // namespace
}  // namespace vidor::platform::qt
