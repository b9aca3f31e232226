#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/qt/DesignedPalette.h"
#include "platform/qt/QtForm.h"

namespace vidor::platform::qt {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8).replace("\r\n", "\n");
}

double screenDotsPerInch() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96;
}

}  // namespace

QtWindowSystem::QtWindowSystem(RunMode mode)
    : GuardedWindowSystem(mode), scale_(screenDotsPerInch()) {}

QtWindowSystem::~QtWindowSystem() = default;

void QtWindowSystem::handleEvents() {
    for (auto& [window, form] : forms_) form->showLists();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QWidget* QtWindowSystem::activeWidget() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if (it->second->widget()->isVisible()) return it->second->widget();
    }
    return nullptr;
}

Answer QtWindowSystem::showBox(const std::string& message, Buttons buttons, Icon icon,
                               const std::string& title, std::chrono::milliseconds closeAfter) {
    QMessageBox box(activeWidget());
    // A box is a window of its own, which takes no colours from the window behind it.
    box.setPalette(designedPalette());
    box.setWindowTitle(text(title));
    box.setText(text(message));
    box.setIcon(icon == Icon::Exclamation ? QMessageBox::Warning
                : icon == Icon::Question  ? QMessageBox::Question
                                          : QMessageBox::NoIcon);
    // The buttons read in French whatever the session's language: the program speaks French.
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText("Oui");
        box.button(QMessageBox::No)->setText("Non");
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText("OK");
        box.setDefaultButton(QMessageBox::Ok);
    }
    QTimer closing;
    if (closeAfter.count() > 0) {
        closing.setSingleShot(true);
        QObject::connect(&closing, &QTimer::timeout, &box,
                         [&box] { box.defaultButton()->click(); });
        closing.start(closeAfter);
    }
    const int pressed = box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> QtWindowSystem::showPrompt(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& defaultText) {
    QInputDialog dialog(activeWidget());
    dialog.setPalette(designedPalette());
    dialog.setWindowTitle(text(title));
    dialog.setLabelText(text(prompt));
    dialog.setTextValue(text(defaultText));
    dialog.setOkButtonText("OK");
    dialog.setCancelButtonText("Annuler");
    // A long prompt is wrapped, so that the dialog and its buttons fit a small screen.
    if (auto* label = dialog.findChild<QLabel*>()) label->setWordWrap(true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

void QtWindowSystem::ring() {
    QApplication::beep();
}

int QtWindowSystem::screenWidth() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return scale_.twips(screen ? screen->geometry().width() : 1024);
}

int QtWindowSystem::screenHeight() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return scale_.twips(screen ? screen->geometry().height() : 768);
}

QtForm& QtWindowSystem::formFor(Window& window) {
    auto& form = forms_[&window];
    if (!form) form = std::make_unique<QtForm>(window, *this, scale_);
    return *form;
}

void QtWindowSystem::show(Window& window) {
    QtForm& form = formFor(window);
    window.setVisible(true);
    form.widget()->show();
}

void QtWindowSystem::runModal(Window& window) {
    QtForm& form = formFor(window);
    form.widget()->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    form.onHidden = [&loop] { loop.quit(); };
    loops_.push_back(&loop);
    window.setVisible(true);
    form.widget()->show();
    if (window.visible() && !status_) loop.exec();
    loops_.pop_back();
    release(window);
}

int QtWindowSystem::runLoop() {
    return QApplication::exec();
}

QtForm* QtWindowSystem::formOf(Window& window) {
    auto it = forms_.find(&window);
    return it == forms_.end() ? nullptr : it->second.get();
}

Window* QtWindowSystem::windowOf(const QWidget* topLevel) {
    for (auto& [window, form] : forms_) {
        if (form->widget() == topLevel) return window;
    }
    return nullptr;
}

void QtWindowSystem::release(Window& window) {
    forms_.erase(&window);
}

void QtWindowSystem::stopLoops(int status) {
    for (QEventLoop* loop : loops_) loop->quit();
    QCoreApplication::exit(status);
}

}  // namespace vidor::platform::qt
