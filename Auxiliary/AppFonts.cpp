#include "Auxiliary/AppFonts.h"

#include <QFontDatabase>

namespace fonts {
namespace {

QFont systemFont(qreal size, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // A point of the screens is a device-independent pixel, as on a Mac.
    font.setPixelSize(qRound(size));
    font.setWeight(weight);
    return font;
}

}  // namespace

QFont appFont(qreal size) { return systemFont(size, QFont::Normal); }
QFont appLightFont(qreal size) { return systemFont(size, QFont::Light); }
QFont appMediumFont(qreal size) { return systemFont(size, QFont::Medium); }
QFont appSemiBoldFont(qreal size) { return systemFont(size, QFont::DemiBold); }
QFont appBoldFont(qreal size) { return systemFont(size, QFont::Bold); }

}  // namespace fonts
