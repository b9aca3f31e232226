#pragma once

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>

namespace vidor::test {

// A desktop in a dark theme for as long as it lives: the application's palette is the dark one
// that a Fusion dark theme gives, light text on dark surfaces.
struct DarkDesktop {
    DarkDesktop() {
        QPalette dark;
        for (auto [role, colour] : {std::pair{QPalette::Window, 0x353535},
                                    {QPalette::WindowText, 0xFFFFFF},
                                    {QPalette::Base, 0x2A2A2A},
                                    {QPalette::Text, 0xFFFFFF},
                                    {QPalette::Button, 0x353535},
                                    {QPalette::ButtonText, 0xFFFFFF},
                                    {QPalette::Highlight, 0x2A82DA},
                                    {QPalette::HighlightedText, 0xFFFFFF}})
            dark.setColor(role, QColor(QRgb(colour)));
        QApplication::setPalette(dark);
    }
    ~DarkDesktop() { QApplication::setPalette(saved); }
    DarkDesktop(const DarkDesktop&) = delete;
    DarkDesktop& operator=(const DarkDesktop&) = delete;

    QPalette saved = QApplication::palette();
};

// How far apart two colours read, from 1 (the same) to 21 (black on white); 4.5 and more is
// comfortable for text, under 3 hard to read.
inline double contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pairs of text and background colours of `widget` that read worse than `least`, each as
// "#text/#background "; empty when all read well.
inline std::string poorPairs(const QWidget& widget, double least = 3) {
    std::string poor;
    const QPalette& p = widget.palette();
    for (auto [text, back] : {std::pair{QPalette::WindowText, QPalette::Window},
                              {QPalette::ButtonText, QPalette::Button},
                              {QPalette::Text, QPalette::Base},
                              {QPalette::HighlightedText, QPalette::Highlight}}) {
        if (contrast(p.color(text), p.color(back)) < least)
            poor +=
                p.color(text).name().toStdString() + "/" + p.color(back).name().toStdString() + " ";
    }
    return poor;
}

}  // namespace vidor::test
