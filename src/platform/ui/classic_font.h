#pragma once
// The fonts the windows' twip layouts were designed for. Liberation Sans has Arial's metrics, so
// texts take the room the layouts give them whatever the desktop's own default font is. Header-only,
// so the test main can use it without linking the control layer.
#include <QApplication>
#include <QFont>
#include <QStringList>

namespace sq {

inline constexpr double kClassicFontPoints = 8;
inline constexpr double kTreeFontPoints = 9.75;

// Arial where the machine has it, else Liberation Sans (same metrics).
inline QFont arialFont(double points, bool bold = false) {
    QFont font("Arial");
    font.setFamilies({"Arial", "Liberation Sans"});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The program's default font: Liberation Sans at 8 points (Arial where it is missing).
inline QFont classicFont() {
    QFont font("Liberation Sans");
    font.setFamilies({"Liberation Sans", "Arial"});
    font.setPointSizeF(kClassicFontPoints);
    return font;
}

// Makes classicFont() the font of every widget created from now on. Call after QApplication exists.
inline void useClassicFont() {
    QApplication::setFont(classicFont());
}

}  // namespace sq
