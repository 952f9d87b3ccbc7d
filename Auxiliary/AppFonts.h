#pragma once

#include <QFont>

// The application's fonts: the desktop's system font at a size in points (device-independent
// pixels, as on a Mac), by weight.
namespace fonts {

QFont appFont(qreal size);
QFont appLightFont(qreal size);
QFont appMediumFont(qreal size);
QFont appSemiBoldFont(qreal size);
QFont appBoldFont(qreal size);

}  // namespace fonts
