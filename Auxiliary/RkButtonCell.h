#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

// Draws a gradient push button with an optional drop-down part at its right end: the title (and
// icon) on the left, a separator, then the menu image. Used by RkRecoveryButton.
class RkButtonCell {
public:
    QIcon menuImage;
    qreal leftInterval = 10;
    qreal rightInterval = 8;
    qreal imageAndTextInterval = 6;
    qreal separateWidth = 1;
    qreal interval = 6;
    qreal height = 28;
    qreal width = 120;
    QColor startColor{0x4A, 0x90, 0xE2};
    QColor endColor{0x35, 0x7A, 0xD0};
    qreal extralength = 24;  // width of the drop-down part; 0 without one

    QSizeF sizeFor(const QString& title, const QIcon& icon, const QFont& font) const;
    // The drop-down part of a button drawn in `bounds`; empty without a menu image.
    QRectF menuRect(const QRectF& bounds) const;
    void draw(QPainter& painter, const QRectF& bounds, const QString& title, const QIcon& icon, const QFont& font,
              const QColor& textColor, bool highlighted) const;
};
