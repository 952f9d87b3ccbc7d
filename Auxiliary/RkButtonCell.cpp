#include "Auxiliary/RkButtonCell.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr qreal kIconSize = 16;
}

QSizeF RkButtonCell::sizeFor(const QString& title, const QIcon& icon, const QFont& font) const
{
    const QFontMetricsF metrics(font);
    qreal w = leftInterval + metrics.horizontalAdvance(title) + rightInterval;
    if (!icon.isNull())
        w += kIconSize + imageAndTextInterval;
    if (!menuImage.isNull())
        w += separateWidth + extralength;
    return {qMax(w, width), qMax(height, metrics.height() + 2 * interval)};
}

QRectF RkButtonCell::menuRect(const QRectF& bounds) const
{
    if (menuImage.isNull() || extralength <= 0)
        return {};
    return {bounds.right() - extralength, bounds.top(), extralength, bounds.height()};
}

void RkButtonCell::draw(QPainter& painter, const QRectF& bounds, const QString& title, const QIcon& icon,
                        const QFont& font, const QColor& textColor, bool highlighted) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, highlighted ? endColor : startColor);
    gradient.setColorAt(1, highlighted ? startColor : endColor);
    QPainterPath body;
    body.addRoundedRect(bounds, 4, 4);
    painter.fillPath(body, gradient);

    QRectF content = bounds.adjusted(leftInterval, 0, -rightInterval, 0);
    const QRectF menu = menuRect(bounds);
    if (!menu.isEmpty()) {
        content.setRight(menu.left() - separateWidth - rightInterval);
        QColor line = textColor;
        line.setAlphaF(0.35f);
        painter.fillRect(QRectF(menu.left() - separateWidth, bounds.top() + interval, separateWidth,
                                bounds.height() - 2 * interval),
                         line);
        const QRectF image(menu.center().x() - kIconSize / 2, menu.center().y() - kIconSize / 2, kIconSize, kIconSize);
        menuImage.paint(&painter, image.toRect());
    }
    if (!icon.isNull()) {
        icon.paint(&painter, QRectF(content.left(), bounds.center().y() - kIconSize / 2, kIconSize, kIconSize).toRect());
        content.setLeft(content.left() + kIconSize + imageAndTextInterval);
    }
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(content, Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.restore();
}
