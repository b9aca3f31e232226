#include "platform/qt/QtWindowSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/DesignedPalette.h"
#include "tests/platform/WindowTest.h"
#include "tests/platform/qt/DarkDesktop.h"

namespace vidor::platform::qt {
namespace {

// Presses the button that reads `text` on the modal dialog once it is shown. The dialogs, in a
// dark desktop theme too, look like the window they come from.
void answer(const QString& text) {
    QTimer::singleShot(0, [text] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return answer(text);
        EXPECT_EQ(dialog->palette().color(QPalette::Window),
                  designedPalette().color(QPalette::Window));
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == text) button->click();
        }
    });
}

TEST(QtWindowSystemTest, DialogsSpeakFrenchLookLikeTheWindowAndGiveTheAnswerChosen) {
    test::DarkDesktop dark;
    QtWindowSystem windows;
    // A button that is not there leaves the dialog open, failed by the watchdog of main.cpp.
    answer("Non");
    EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Brenlo"),
              Answer::No);
    answer("Annuler");
    EXPECT_EQ(windows.inputBox("Répertoire :", "Brenlo", "/srv/maj/"), "");
    answer("OK");
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
