#include "renovex/linux/Notice.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "renovex/linux/DisplayChoice.h"

namespace vidor::renovex {

void tellUser(const std::string& text) {
    std::cerr << "Renovex : " << text << std::endl;
    const std::string platforms = displayPlatforms(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (platforms.empty()) return;
    // A display that cannot be opened makes Qt fall back on "offscreen" instead of aborting.
    ::setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
    int argc = 1;
    char name[] = "Renovex";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() == "offscreen") return;
    QMessageBox::critical(nullptr, "Renovex - Erreur", QString::fromStdString(text));
}

}  // namespace vidor::renovex
