#include "platform/qt/QtForm.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "help/F_Help.h"
#include "platform/Keyboard.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/platform/WindowTest.h"
#include "tests/platform/qt/DarkDesktop.h"

namespace vidor::platform::qt {
namespace {

using test::UserKey;

// The main window in the Qt binding.
class QtFormTest : public test::MainWindowTest {
  protected:
    template <class Widget>
    Widget* widget(const Control& control) {
        return qobject_cast<Widget*>(windows.formOf(form)->widgetOf(control));
    }
    // The name a screen reader gets for `control` of `window`.
    QString spoken(Window& window, const Control& control) {
        QWidget* shown = windows.formOf(window)->widgetOf(control);
        return QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name);
    }

    QtWindowSystem& windows = static_cast<QtWindowSystem&>(driver->windows());
};

TEST_F(QtFormTest, ClosingTheWindowDuringTheWalkEndsTheProgramAndStoresTheChoices) {
    for (int i = 0; i < 300; ++i) test::writeFile(file("d" + std::to_string(i) + "/f.tmp"), "x");
    // While the walk yields, deep inside the click on "Recenser".
    driver->soon([&] { windows.formOf(form)->widget()->close(); });
    driver->click(form, form.bGo);
    EXPECT_TRUE(windows.ended());
    EXPECT_EQ(windows.status(), kExitNormal);
    EXPECT_TRUE(form.flags.enCours);  // the walk never went on after the close
    // The choices are stored all the same.
    EXPECT_NE(test::userSetting("Extensions"), std::nullopt);
}

// One review by clicks: the list, its tips, its total and the captions follow the program; the
// small recycle box, clicked where a person sees it, only changes the choice.
TEST_F(QtFormTest, TheReviewShowsWhatTheClicksChange) {
    const std::string longFolder(120, 'd');
    for (const std::string& name :
         {std::string("a.tmp"), std::string("b.tmp"), longFolder + "/c.tmp"})
        test::writeFile(file(name), "12345");
    driver->click(form, form.bGo);
    QCoreApplication::processEvents();  // back in the event loop, the view learns of the lines
    ASSERT_EQ(form.lDel.count(), 3);

    // A line too long for the list shows its path as a tip, and the list scrolls sideways to it.
    auto* view = widget<QListView>(form.lDel);
    const std::string path = "C:\\" + longFolder + "\\c.tmp";
    const int width = view->fontMetrics().horizontalAdvance(QString::fromStdString(path));
    EXPECT_GE(view->viewport()->width() + view->horizontalScrollBar()->maximum(), width);
    for (int line : {0, 2}) {
        const QPoint at = view->visualRect(view->model()->index(line, 0)).topLeft() + QPoint(5, 5);
        QHelpEvent hover(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &hover);
        EXPECT_EQ(QToolTip::text().toStdString(), line == 2 ? path : "") << line;
        QToolTip::hideText();
    }

    // The small recycle box lies inside "Corbeille  ": a click where a person would click it (Qt
    // finds the widget under the point) only changes the choice.
    QTest::mouseClick(windows.formOf(form)->widget()->windowHandle(), Qt::LeftButton, {},
                      {478, 204});
    EXPECT_FALSE(widget<QCheckBox>(form.poubel)->isChecked());
    EXPECT_EQ(widget<QPushButton>(form.bEffacer)->text(), "Effacer  ");

    driver->clickLine(form, form.lDel, 2);
    driver->click(form, form.bConserver);
    // The list shown is the program's, line for line: "Effacer  " removes what it shows.
    ASSERT_EQ(view->model()->rowCount(), 2);
    for (int line : {0, 1}) {
        EXPECT_EQ(view->model()->data(view->model()->index(line, 0)).toString().toStdString(),
                  form.lDel.item(line));
    }
    EXPECT_EQ(widget<QLabel>(form.eTaille)->text(), "10 bytes");
    EXPECT_FALSE(windows.ended());
}

// A long list that grows while the program works is laid out at a pace; once the program waits
// for the user, it is shown whole at once.
TEST_F(QtFormTest, ALongListLeftForLaterIsShownOnceTheProgramWaits) {
    auto* view = widget<QListView>(form.lDel);
    for (int i = 0; i < 300000; ++i) form.lDel.addItem("C:\\f" + std::to_string(i) + ".tmp");
    windows.formOf(form)->showLists();
    form.lDel.addItem("C:\\dernier.tmp");
    windows.formOf(form)->showLists();
    if (view->model()->rowCount() == form.lDel.count())
        GTEST_SKIP() << "laying out the list is so quick here that nothing is left for later";
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(view->model()->rowCount(), form.lDel.count());
}

// Every control a user can reach has a name; those without a caption of their own are named by
// the words beside them, and follow them.
TEST_F(QtFormTest, ScreenReadersGetANameForEveryControl) {
    std::function<void(const Control&)> everyControl = [&](const Control& holder) {
        for (const Control* control : holder.children()) {
            if (takesFocus(*control)) {
                EXPECT_FALSE(spoken(form, *control).isEmpty()) << control->name();
            }
            everyControl(*control);
        }
    };
    everyControl(form);
    EXPECT_EQ(spoken(form, form.lUnites), "Unités à traiter");
    EXPECT_EQ(spoken(form, form.Poubel2), "Mettre dans la corbeille Windows");
    form.eExec.setCaption("Impossible de supprimer ces fichiers :");
    EXPECT_EQ(spoken(form, form.lDel), "Impossible de supprimer ces fichiers :");
    form.bEffacer.setCaption("Corbeille  ");
    EXPECT_EQ(spoken(form, form.bEffacer), "Corbeille  ");

    // The help text is named by the help window's title, and is a text to read, not to edit.
    driver->soon([&] {
        auto* help = dynamic_cast<help::F_Help*>(driver->inFront());
        ASSERT_NE(help, nullptr);  // left open, the watchdog of main.cpp fails the test
        EXPECT_EQ(spoken(*help, help->t).toStdString(), help->caption());
        auto* text = qobject_cast<QPlainTextEdit*>(windows.formOf(*help)->widgetOf(help->t));
        EXPECT_TRUE(text->isReadOnly());
        driver->press(UserKey::Escape);
    });
    driver->click(form, form.bSos);
}

// The current line of a list that has the focus is framed, in the text's colour of the line, on
// a selected line as on any other; the frame goes with the focus.
TEST_F(QtFormTest, TheLineThatSpaceWouldSelectIsFramed) {
    auto* view = widget<QListView>(form.lExt);
    // How many pixels of the left edge of `line` are of `colour`, as drawn now.
    auto edge = [view](int line, QColor colour) {
        const QImage drawn = view->viewport()->grab().toImage();
        const QRect rect = view->visualRect(view->model()->index(line, 0));
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            count += drawn.pixelColor(rect.left(), y) == colour;
        return count * 3 >= rect.height() ? "framed" : count == 0 ? "bare" : "smudged";
    };
    ASSERT_FALSE(form.lExt.selected(0));
    ASSERT_TRUE(form.lExt.selected(1));
    driver->press(UserKey::Tab);
    ASSERT_EQ(driver->focused(form), &form.lExt);
    EXPECT_STREQ(edge(0, Qt::black), "framed");
    driver->press(UserKey::Down);
    EXPECT_STREQ(edge(0, Qt::black), "bare");
    EXPECT_STREQ(edge(1, Qt::white), "framed");
    driver->press(UserKey::Tab);
    EXPECT_STREQ(edge(1, Qt::white), "bare");
}

// The window opens with its controls in their fonts and colours; under a dark theme too, it reads
// as it was designed to: black or red text on light surfaces.
class QtFormDarkTest : private test::DarkDesktop, public QtFormTest {};

TEST_F(QtFormDarkTest, ControlsShowTheirFontsColoursAndTipsAndReadWellInADarkTheme) {
    EXPECT_TRUE(widget<QPushButton>(form.bGo)->font().bold());
    EXPECT_TRUE(widget<QLabel>(form.z)->font().bold());
    EXPECT_FALSE(widget<QLabel>(form.eExec)->font().bold());
    const QModelIndex drive = widget<QListView>(form.lUnites)->model()->index(0, 0);
    EXPECT_EQ(drive.data(Qt::ToolTipRole).toString().toStdString(), sandbox.drive('C').string());
    form.eExec.setForeColor(kRed);  // 0x00BBGGRR
    EXPECT_EQ(widget<QLabel>(form.eExec)->palette().color(QPalette::WindowText).name(), "#ff0000");
    for (QWidget* shown : windows.formOf(form)->widget()->findChildren<QWidget*>())
        EXPECT_EQ(test::poorPairs(*shown), "") << shown->metaObject()->className();
}

}  // namespace
}  // namespace vidor::platform::qt
