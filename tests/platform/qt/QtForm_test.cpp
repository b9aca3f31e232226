#include "platform/qt/QtForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <chrono>
#include <thread>

#include "app/F_Main.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/support/Sandbox.h"

// Texts shown as text when a check fails.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vidor::platform::qt {
namespace {

namespace fs = std::filesystem;

// The program with the Qt window system, on a sandbox with drive C: only.
class QtFormTest : public ::testing::Test {
  protected:
    QtFormTest() {
        test::writeFile(sandbox.configHome() / "Brenlo" / "Brenlo.conf",
                        "[General]\nRépertoireMiseAJour=-\n");
        windows.guard([this] {
            form.Form_Load();
            windows.show(form);
        });
    }
    ~QtFormTest() override { windows.release(form); }

    template <class Widget>
    Widget* widget(const Control& control) {
        return qobject_cast<Widget*>(windows.formOf(form)->widgetOf(control));
    }
    void click(const Control& control) {
        QTest::mouseClick(widget<QPushButton>(control), Qt::LeftButton);
    }
    // A click where a person would click it: Qt finds the widget under the point, as the window
    // system gives it. `pixel` is in the window's inner area, at 96 DPI.
    void clickAt(QPoint pixel) {
        QTest::mouseClick(windows.formOf(form)->widget()->windowHandle(), Qt::LeftButton, {},
                          pixel);
    }
    // The name of the control drawn at `pixel` on top of the others.
    std::string controlAt(QPoint pixel) {
        QWidget* shown = windows.formOf(form)->widget()->childAt(pixel);
        for (const Control* control : std::initializer_list<const Control*>{
                 &form.bGo, &form.z, &form.VidorIE, &form.VidorTP, &form.lblinfo, &form.Poubel2,
                 &form.bEffacer, &form.bConserver, &form.bAnn, &form.eTaille}) {
            if (widget<QWidget>(*control) == shown) return control->name();
        }
        return "?";
    }
    // A census of the files `names` on C:, to the review of its list.
    void review(std::initializer_list<const char*> names) {
        for (const char* name : names) test::writeFile(sandbox.drive('C') / name, name);
        click(form.bGo);
        QCoreApplication::processEvents();  // back in the event loop, the view learns of the lines
    }
    void clickLine(const ListBox& list, int line) {
        auto* view = widget<QListView>(list);
        const QRect rect = view->visualRect(view->model()->index(line, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    test::Sandbox sandbox{"C=3:c"};
    linux_::LinuxPlatform machine{"/opt/vidor/Vidor", {}};
    QtWindowSystem windows;
    Services services = machine.services(windows);
    app::F_Main form{services};
};

TEST_F(QtFormTest, TheWindowOpensWithItsControlsWhereTheyBelong) {
    QWidget* top = windows.formOf(form)->widget();
    ASSERT_TRUE(top->isVisible());
    EXPECT_EQ(top->windowTitle(), "(Vidor v6.0.24) Suppression des fichiers temporaires");
    // At 96 DPI, 15 twips to a pixel.
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96);
    EXPECT_EQ(top->size(), QSize(488, 226));

    auto* go = widget<QPushButton>(form.bGo);
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->geometry(), QRect(272, 56, 81, 33));
    EXPECT_EQ(go->text(), "Recenser");
    EXPECT_TRUE(go->font().bold());
    EXPECT_TRUE(go->isDefault());
    EXPECT_TRUE(go->isEnabled());

    auto* drives = widget<QListView>(form.lUnites);
    ASSERT_NE(drives, nullptr);
    EXPECT_EQ(drives->geometry(), QRect(16, 24, 57, 160));
    auto* frame = qobject_cast<QGroupBox*>(drives->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Unités à traiter");
    EXPECT_EQ(drives->model()->data(drives->model()->index(0, 0)).toString(), "C:");
    EXPECT_EQ(drives->model()->data(drives->model()->index(0, 0), Qt::ToolTipRole).toString(),
              QString::fromStdString(sandbox.drive('C').string()));

    auto* bin = widget<QCheckBox>(form.poubel);
    EXPECT_TRUE(bin->isChecked());
    EXPECT_EQ(bin->text(), "Mettre dans la corbeille Windows");
    auto colour = [this](const Label& label) {
        return widget<QLabel>(label)->palette().color(QPalette::WindowText).name();
    };
    EXPECT_TRUE(widget<QLabel>(form.z)->font().bold());
    EXPECT_EQ(colour(form.z), "#000000");
    EXPECT_FALSE(widget<QLabel>(form.eExec)->font().bold());
    form.eExec.setForeColor(kRed);
    EXPECT_EQ(colour(form.eExec), "#ff0000");
    form.eExec.setForeColor(0xFF8000);  // 0x00BBGGRR
    EXPECT_EQ(colour(form.eExec), "#0080ff");
    EXPECT_FALSE(widget<QWidget>(form.pExec)->isVisible());
    EXPECT_TRUE(widget<QWidget>(form.pSaisie)->isVisible());
}

TEST_F(QtFormTest, AideOpensTheHelpWindowToReadOnlyAndEscapeClosesIt) {
    QString text;
    QRect place[3];  // the window, the text, "Ok"
    QString typed;
    bool tabLeaves = false;
    QTimer::singleShot(0, [&] {
        QWidget* help = QApplication::activeModalWidget();
        help->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        auto* edit = help->findChild<QPlainTextEdit*>();
        auto* ok = help->findChild<QPushButton*>();
        text = edit->toPlainText();
        place[0] = {{}, help->size()};
        place[1] = edit->geometry();
        place[2] = ok->geometry();
        edit->setFocus();
        QTest::keyClicks(edit, "x");
        QTest::keyClick(edit, Qt::Key_Delete);
        typed = edit->toPlainText();
        QTest::keyClick(edit, Qt::Key_Tab);
        tabLeaves = QApplication::focusWidget() == ok;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    click(form.bSos);
    EXPECT_TRUE(text.startsWith("Programme"));
    EXPECT_TRUE(text.contains("\n  /AUTO\n"));
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_EQ(typed, text);
    EXPECT_TRUE(tabLeaves);
    // At 96 DPI, 15 twips to a pixel.
    EXPECT_EQ(place[0], QRect(0, 0, 531, 404));
    EXPECT_EQ(place[1], QRect(0, 0, 529, 369));
    EXPECT_EQ(place[2], QRect(224, 376, 81, 25));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible() && window->windowTitle().contains("inutiles"));
    }
    EXPECT_FALSE(windows.ended());
}

TEST_F(QtFormTest, DuringTheWalkThePointerFollowsTheControlsAndClosingEndsTheProgram) {
    for (int i = 0; i < 300; ++i)
        test::writeFile(sandbox.drive('C') / ("d" + std::to_string(i)) / "f.tmp", "x");
    std::vector<int> pointers;
    // While the walk yields, deep inside the click on "Recenser": the pointer over "Annuler",
    // the blank surface of the panel, then "Auto"; then the window is closed.
    QTimer::singleShot(0, [&] {
        for (QPoint at : {QPoint(268, 204), QPoint(100, 188), QPoint(464, 8)}) {
            QTest::mouseMove(windows.formOf(form)->widget()->windowHandle(), at);
            pointers.push_back(form.mousePointer());
        }
        windows.formOf(form)->widget()->close();
    });
    click(form.bGo);
    EXPECT_EQ(pointers, (std::vector{kPointerDefault, kPointerHourglass, kPointerDefault}));
    EXPECT_TRUE(windows.ended());
    EXPECT_EQ(windows.status(), kExitNormal);
    EXPECT_LT(form.lDel.count(), 300);
    EXPECT_TRUE(form.flags.enCours);  // the walk never went on after the close
    const std::string stored = test::readFile(sandbox.configHome() / "Brenlo" / "Vidor.conf");
    EXPECT_NE(stored.find("tmp\\t"), std::string::npos) << stored;
}

TEST_F(QtFormTest, OverlappingControlsTakeTheClickWhereTheyAreDrawnOnTop) {
    struct Case {
        const Control* control;
        QPoint pixel;  // lies in this control and in one it overlaps
    };
    for (const Case& on : {Case{&form.bGo, {300, 56}}, Case{&form.VidorTP, {300, 120}},
                           Case{&form.VidorTP, {300, 144}}}) {
        EXPECT_EQ(controlAt(on.pixel), on.control->name());
    }
    review({"a.tmp", "b.tmp"});
    ASSERT_TRUE(widget<QWidget>(form.Poubel2)->isVisible());
    for (const Case& on : {Case{&form.Poubel2, {478, 204}}, Case{&form.bAnn, {230, 200}},
                           Case{&form.bConserver, {312, 200}}, Case{&form.bEffacer, {400, 200}}}) {
        EXPECT_EQ(controlAt(on.pixel), on.control->name());
    }

    // The small recycle box lies inside "Corbeille  ": a click on it only changes the choice.
    clickAt({478, 204});
    EXPECT_EQ(form.Poubel2.value(), 0);
    EXPECT_EQ(form.poubel.value(), 0);
    EXPECT_FALSE(widget<QCheckBox>(form.poubel)->isChecked());
    EXPECT_EQ(widget<QPushButton>(form.bEffacer)->text(), "Effacer  ");
    clickAt({478, 204});
    EXPECT_EQ(form.poubel.value(), 1);
    EXPECT_EQ(widget<QPushButton>(form.bEffacer)->text(), "Corbeille  ");
    EXPECT_FALSE(windows.ended());
    EXPECT_EQ(form.lDel.count(), 2);
    EXPECT_TRUE(fs::exists(sandbox.drive('C') / "a.tmp"));
    EXPECT_TRUE(fs::exists(sandbox.drive('C') / "b.tmp"));
}

TEST_F(QtFormTest, EnterPressesTheDefaultButtonWhenEnabledAndEscapeTheCancelButton) {
    QWidget* top = windows.formOf(form)->widget();
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    const fs::path file = sandbox.drive('C') / "a.tmp";
    test::writeFile(file, "a");
    clickLine(form.lUnites, 0);  // no drive left: "Recenser" is disabled
    EXPECT_FALSE(widget<QPushButton>(form.bGo)->isEnabled());
    QTest::keyClick(top, Qt::Key_Return);
    EXPECT_FALSE(form.pExec.visible());
    clickLine(form.lUnites, 0);

    QTest::keyClick(top, Qt::Key_Return);  // "Recenser"
    QCoreApplication::processEvents();
    ASSERT_EQ(form.lDel.count(), 1);
    QTest::keyClick(top, Qt::Key_Escape);  // "Annuler"
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_EQ(form.lDel.count(), 0);
    EXPECT_TRUE(fs::exists(file));

    QTest::keyClick(top, Qt::Key_Enter);  // "Recenser", then "Corbeille  "
    QCoreApplication::processEvents();
    QTest::keyClick(top, Qt::Key_Enter);
    EXPECT_TRUE(windows.ended());
    EXPECT_FALSE(fs::exists(file));
}

// Counts the paints of a list and notes, at each, whether its last line was drawn.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QListView* view) : view_(view) {
        view->viewport()->installEventFilter(this);
    }
    int paints = 0;
    bool lastDrawn = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const int rows = view_->model()->rowCount();
            const QRect line = view_->visualRect(view_->model()->index(rows - 1, 0));
            lastDrawn = rows > 0 && view_->viewport()->rect().contains(line);
        }
        return false;
    }

  private:
    QListView* view_;
};

TEST_F(QtFormTest, TheGrowingListDrawsItsLastLineAtEveryYield) {
    form.pSaisie.setVisible(false);
    form.pExec.setVisible(true);
    auto* view = widget<QListView>(form.lDel);
    QCoreApplication::processEvents();
    PaintWatch watch(view);
    // A slow drive first, one line between two yields, then a fast one, many lines at a time.
    for (int lines : {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 40, 40, 40, 40}) {
        watch.paints = 0;
        watch.lastDrawn = false;
        for (int line = 0; line < lines; ++line) {
            // As the walk lists a file.
            form.lDel.addItem("C:\\f" + std::to_string(form.lDel.count()) + ".tmp");
            form.lDel.setTopIndex(form.lDel.count() - 10);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        windows.doEvents();
        EXPECT_GT(watch.paints, 0) << form.lDel.count();
        EXPECT_TRUE(watch.lastDrawn) << form.lDel.count();
    }
}

TEST_F(QtFormTest, ALineTooLongForTheListShowsItsPathAsAToolTipAndScrollsSideways) {
    const std::string path = "C:\\" + std::string(120, 'd') + "\\b.tmp";
    form.pSaisie.setVisible(false);
    form.pExec.setVisible(true);
    for (const std::string& line : {std::string("C:\\a.tmp"), path, std::string("C:\\c.tmp")})
        form.lDel.addItem(line);
    QCoreApplication::processEvents();
    auto* view = widget<QListView>(form.lDel);

    const int width = view->fontMetrics().horizontalAdvance(QString::fromStdString(path));
    EXPECT_GE(view->viewport()->width() + view->horizontalScrollBar()->maximum(), width);
    for (int line : {0, 1}) {
        const QPoint at = view->visualRect(view->model()->index(line, 0)).topLeft() + QPoint(5, 5);
        QHelpEvent hover(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &hover);
        EXPECT_EQ(QToolTip::text().toStdString(), line == 1 ? path : "") << line;
        QToolTip::hideText();
    }
}

TEST_F(QtFormTest, TheReviewShowsTheListAndItsTotalAndTakesTheLineClicked) {
    review({"a.tmp", "b.tmp", "c.tmp"});
    ASSERT_EQ(form.lDel.count(), 3);
    EXPECT_TRUE(widget<QWidget>(form.pExec)->isVisible());
    EXPECT_EQ(widget<QLabel>(form.eExec)->text(), "Fichiers à supprimer :");
    EXPECT_EQ(widget<QLabel>(form.eTaille)->text(), "15 bytes");
    EXPECT_EQ(widget<QListView>(form.lDel)->model()->rowCount(), 3);

    // A click on a line selects it; one on the blank part of the list, none: "Conserver",
    // still enabled, then keeps nothing.
    clickLine(form.lDel, 1);
    EXPECT_EQ(form.lDel.listIndex(), 1);
    QWidget* blank = widget<QListView>(form.lDel)->viewport();
    QTest::mouseClick(blank, Qt::LeftButton, {}, {10, blank->height() - 5});
    EXPECT_EQ(form.lDel.listIndex(), -1);
    click(form.bConserver);
    EXPECT_EQ(form.lDel.count(), 3);

    clickLine(form.lDel, 2);
    const std::string kept = form.lDel.item(2);
    ASSERT_TRUE(widget<QPushButton>(form.bConserver)->isEnabled());
    click(form.bConserver);
    ASSERT_EQ(form.lDel.count(), 2);
    EXPECT_EQ(widget<QListView>(form.lDel)->model()->rowCount(), 2);
    EXPECT_NE(form.lDel.item(0), kept);
    EXPECT_NE(form.lDel.item(1), kept);
    EXPECT_EQ(widget<QLabel>(form.eTaille)->text(), "10 bytes");
}

}  // namespace
}  // namespace vidor::platform::qt
