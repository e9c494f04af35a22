#include "palette.h"

#include "layout.h"

namespace sp::palette {
namespace {

struct RoleColours {
    QPalette::ColorRole role;
    QColor normal;   // active and inactive windows look the same
    QColor disabled; // greyed-out controls
};

// The face of buttons, and the menu bar's.
const QColor Face(239, 239, 239);

QPalette buildPalette() {
    const QColor highlight(48, 140, 198);
    const QColor black(Qt::black), white(Qt::white), grey(190, 190, 190);
    const RoleColours table[] = {
        {QPalette::Window, layout::Background, layout::Background},
        {QPalette::WindowText, black, grey},
        {QPalette::Base, white, Face},
        {QPalette::AlternateBase, QColor(247, 247, 247), QColor(247, 247, 247)},
        {QPalette::Text, black, grey},
        {QPalette::PlaceholderText, QColor(0, 0, 0, 128), QColor(0, 0, 0, 128)},
        {QPalette::Button, Face, Face},
        {QPalette::ButtonText, black, grey},
        {QPalette::BrightText, white, white},
        {QPalette::Light, white, white},
        {QPalette::Midlight, QColor(202, 202, 202), QColor(202, 202, 202)},
        {QPalette::Mid, QColor(184, 184, 184), QColor(184, 184, 184)},
        {QPalette::Dark, QColor(159, 159, 159), grey},
        {QPalette::Shadow, QColor(118, 118, 118), QColor(177, 177, 177)},
        {QPalette::Highlight, highlight, QColor(145, 145, 145)},
        {QPalette::HighlightedText, white, white},
        {QPalette::Link, QColor(0, 0, 255), QColor(0, 0, 255)},
        {QPalette::LinkVisited, QColor(255, 0, 255), QColor(255, 0, 255)},
        {QPalette::ToolTipBase, QColor(255, 255, 220), QColor(255, 255, 220)},
        {QPalette::ToolTipText, black, black},
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        {QPalette::Accent, highlight, QColor(145, 145, 145)},
#endif
    };
    QPalette palette;
    for (const RoleColours &entry : table) {
        palette.setColor(QPalette::Active, entry.role, entry.normal);
        palette.setColor(QPalette::Inactive, entry.role, entry.normal);
        palette.setColor(QPalette::Disabled, entry.role, entry.disabled);
    }
    return palette;
}

} // namespace

const QPalette &windowPalette() {
    static const QPalette palette = buildPalette();
    return palette;
}

const QPalette &menuPalette() {
    static const QPalette palette = [] {
        QPalette menu = windowPalette();
        menu.setColor(QPalette::Window, Face);
        menu.setColor(QPalette::Button, Face);
        return menu;
    }();
    return palette;
}

} // namespace sp::palette
