#include "Auxiliary/Drawing.h"

#include <QFontMetricsF>
#include <QPainter>

#include <iostream>

namespace drawing {

QImage colorized(const QImage& image, const QColor& color)
{
    if (image.isNull())
        return {};
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(image.devicePixelRatio());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawImage(QPointF(0, 0), image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), image.deviceIndependentSize()), color);
    return result;
}

QImage copy(const QImage& image, const QSize& size)
{
    if (image.isNull() || size.isEmpty())
        return {};
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool writePNG(const QImage& image, const QString& path)
{
    if (image.isNull()) {
        std::cout << " No tiff rep found for image writing to " << path.toStdString() << std::endl;
        return false;
    }
    return image.save(path, "PNG");
}

QSizeF sizeOfFont(const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QPointF mid(const QRectF& rect)
{
    return rect.center();
}

}  // namespace drawing
