#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Image and text conveniences of the screens. Main thread (fonts and images need the GUI).
namespace drawing {

// A new image of the same size whose opaque pixels are filled with `color`: the image acts as a
// mask, keeping its alpha.
QImage colorized(const QImage& image, const QColor& color);
// The image scaled to `size` (device-independent pixels), smooth, keeping nothing of the aspect.
QImage copy(const QImage& image, const QSize& size);
// Writes PNG; false (and a message on standard output) when the image is empty or cannot be written.
bool writePNG(const QImage& image, const QString& path);

// The size a text takes when drawn with that font as its only attribute.
QSizeF sizeOfFont(const QString& text, const QFont& font);

QPointF mid(const QRectF& rect);

}  // namespace drawing
