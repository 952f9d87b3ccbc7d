#include "agent/RoundedPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

void RoundedPanel::paintEvent(QPaintEvent*)
{
    // The panel fills the window, so its shadow is the window's own, drawn by the compositor.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

void RoundedPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle() && window()->windowHandle()->startSystemMove())
        return;
    QWidget::mousePressEvent(event);
}
