#include "platform/qt/DesignedPalette.h"

#include <utility>

namespace vidor::platform::qt {

namespace {

// Windows' own colours for each role: the surface of dialogs, the white of lists, the blue of
// a selection, the grey of what cannot be used.
constexpr std::pair<QPalette::ColorRole, QRgb> kColours[] = {
    {QPalette::Window, 0xF0F0F0},
    {QPalette::WindowText, 0x000000},
    {QPalette::Base, 0xFFFFFF},
    {QPalette::AlternateBase, 0xF7F7F7},
    {QPalette::Text, 0x000000},
    {QPalette::Button, 0xF0F0F0},
    {QPalette::ButtonText, 0x000000},
    {QPalette::BrightText, 0xFFFFFF},
    {QPalette::Light, 0xFFFFFF},
    {QPalette::Midlight, 0xE3E3E3},
    {QPalette::Mid, 0xA0A0A0},
    {QPalette::Dark, 0xA0A0A0},
    {QPalette::Shadow, 0x696969},
    {QPalette::Highlight, 0x0078D7},
    {QPalette::HighlightedText, 0xFFFFFF},
    {QPalette::Link, 0x0066CC},
    {QPalette::LinkVisited, 0x800080},
    {QPalette::ToolTipBase, 0xFFFFE1},
    {QPalette::ToolTipText, 0x000000},
    {QPalette::PlaceholderText, 0x6D6D6D},
};

constexpr QRgb kGreyText = 0x6D6D6D;

}  // namespace

QPalette designedPalette() {
    QPalette palette;
    for (const auto& [role, colour] : kColours) palette.setColor(role, QColor(colour));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(kGreyText));
    return palette;
}

}  // namespace vidor::platform::qt
