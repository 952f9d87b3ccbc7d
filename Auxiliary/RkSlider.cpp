#include "Auxiliary/RkSlider.h"

#include "Auxiliary/Appearance.h"

#include <QPainter>
#include <QPainterPath>

RkSlider::RkSlider(QWidget* parent) : QWidget(parent) {}

QColor RkSlider::currentColor() const
{
    return appearance::isDark(palette()) ? darkColor : lightColor;
}

void RkSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(path, currentColor());
}
