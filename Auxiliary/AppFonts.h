#pragma once

#include <QFont>

// The application's fonts: the desktop's system font at a point size, by weight.
namespace fonts {

QFont appFont(qreal size);
QFont appLightFont(qreal size);
QFont appMediumFont(qreal size);
QFont appSemiBoldFont(qreal size);
QFont appBoldFont(qreal size);

}  // namespace fonts
