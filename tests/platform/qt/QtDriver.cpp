// The Qt binding's hands and eyes for the scenarios of WindowBinding_test.cpp: Qt's own test
// events, sent where a person's keys and clicks would go.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListView>
#include <QTest>
#include <QTimer>

#include "platform/qt/QtForm.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/platform/WindowDriver.h"

namespace vidor::test {
namespace {

using platform::qt::QtForm;

class QtDriver : public WindowDriver {
  public:
    explicit QtDriver(const platform::RunMode& mode) : windows_(mode) {
        // A run with parameters says nothing of the toolkit's on standard error.
        if (mode.withParameters)
            previous_ =
                qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    ~QtDriver() override {
        if (previous_) qInstallMessageHandler(previous_);
    }

    platform::GuardedWindowSystem& windows() override { return windows_; }
    double dotsPerInch() override { return QGuiApplication::primaryScreen()->logicalDotsPerInch(); }

    platform::PixelRect placeOf(platform::Window& window,
                                const platform::Control& control) override {
        QtForm& form = formOf(window);
        QWidget* widget = form.widgetOf(control);
        const QPoint at = widget->mapTo(form.widget(), QPoint(0, 0));
        return {at.x(), at.y(), widget->width(), widget->height()};
    }

    const platform::Control* controlAt(platform::Window& window, int x, int y) override {
        QtForm& form = formOf(window);
        return form.controlOf(form.widget()->childAt(x, y));
    }

    const platform::Control* focused(platform::Window& window) override {
        QtForm& form = formOf(window);
        return form.controlOf(form.widget()->focusWidget());
    }

    void press(UserKey key) override {
        QWidget* front = frontWidget();
        ASSERT_NE(front, nullptr) << "no window in front";
        ASSERT_TRUE(activate(front));
        QWidget* to = front->focusWidget() ? front->focusWidget() : front;
        // In the order of UserKey.
        constexpr Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backtab,
                                     Qt::Key_Space,  Qt::Key_A,      Qt::Key_Up,  Qt::Key_Down};
        QTest::keyClick(to, kKeys[static_cast<int>(key)],
                        key == UserKey::BackTab ? Qt::ShiftModifier : Qt::NoModifier);
    }

    platform::Window* inFront() override { return windows_.windowOf(frontWidget()); }

    void click(platform::Window& window, const platform::Control& control) override {
        QTest::mouseClick(formOf(window).widgetOf(control), Qt::LeftButton);
    }

    void clickLine(platform::Window& window, const platform::ListBox& list, int line) override {
        auto* view = static_cast<QListView*>(formOf(window).widgetOf(list));
        QCoreApplication::processEvents();  // the view learns of the lines appended
        view->scrollTo(view->model()->index(line, 0));
        const QRect rect = view->visualRect(view->model()->index(line, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void soon(std::function<void()> action) override { QTimer::singleShot(0, action); }

    void settle() override {
        QCoreApplication::processEvents();
        if (QWidget* front = frontWidget()) activate(front);
    }

  private:
    QtForm& formOf(platform::Window& window) {
        QtForm* form = windows_.formOf(window);
        if (!form) throw std::logic_error("the window " + window.name() + " is not shown");
        return *form;
    }

    // Brings `front` to the front, as a person's click on it would; false when it stays behind.
    static bool activate(QWidget* front) {
        if (front->isActiveWindow()) return true;
        front->activateWindow();
        return QTest::qWaitForWindowActive(front);
    }

    // Where keys go: the modal window, the active one, or else the visible one shown last.
    QWidget* frontWidget() {
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        if (QWidget* active = QApplication::activeWindow()) return active;
        const QWidgetList shown = QApplication::topLevelWidgets();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            if ((*it)->isVisible() && windows_.windowOf(*it)) return *it;
        }
        return nullptr;
    }

    platform::qt::QtWindowSystem windows_;
    QtMessageHandler previous_ = nullptr;
};

}  // namespace

std::unique_ptr<WindowDriver> makeDriver(const platform::RunMode& mode) {
    return std::make_unique<QtDriver>(mode);
}

}  // namespace vidor::test
