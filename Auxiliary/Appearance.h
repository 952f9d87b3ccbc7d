#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

// Light or dark drawing. Qt has no named appearances; the desktop's palette stands for the
// application's effective appearance, and the platform's appearance names are kept for callers
// that receive one.
namespace appearance {

// True for the dark appearance names (dark Aqua, vibrant dark and their high-contrast forms);
// false for every other name, recognised or not.
bool isDark(const QString& appearanceName);
// A palette is dark when its window background is darker than its text.
bool isDark(const QPalette& palette);
// The running application's effective appearance (false without a QApplication).
bool isDark();

// `palette` with a window colour from which the style's check box border comes out at 3:1 or more
// against the rows of either appearance, plain and alternate: the style draws the border a shade
// darker than the window colour, which all but vanishes on dark rows and is faint on white ones.
QPalette withVisibleCheckBoxBorder(QPalette palette);

// The orange of a date not used for a long time: 3:1 or more against the rows of the appearance.
QColor warningTextColor(const QPalette& palette);

// Secondary text (where a file lies, notes beside a number): 4.5:1 or more against the rows of
// either appearance, plain and alternate.
QColor secondaryTextColor(const QPalette& palette);

// A colour from hexadecimal RGB text read from its first character: "2F2F2D" is (47, 47, 45);
// text that is not hexadecimal from the start (a leading "#", say) gives black.
QColor colorFromHex(const QString& hex, double alpha = 1.0);
QColor colorFromRGB(int red, int green, int blue, double alpha = 1.0);
QColor randomColor();
// "rgba(r,g,b,a)" with a in 0...1; the hexadecimal form "#RRGGBBAA" when `hex` is true.
QString toRGBAString(const QColor& color, bool uppercased, bool hex = false);
// The desktop's accent (highlight) colour.
QColor userAccentColor();

}  // namespace appearance
