#pragma once

#include "Auxiliary/RkButtonCell.h"

#include <QPointer>
#include <QPushButton>

#include <optional>

class QMenu;

// A gradient push button with a drop-down part: a press on the menu image opens `menu2` below the
// button instead of clicking it.
class RkRecoveryButton : public QPushButton {
    Q_OBJECT
public:
    explicit RkRecoveryButton(const QString& title = QString(), QWidget* parent = nullptr);

    QPointer<QMenu> menu2;
    qreal extralength = 24;
    qreal leftInterval = 10;
    QIcon menuImage;
    QColor startColor{0x4A, 0x90, 0xE2};
    QColor endColor{0x35, 0x7A, 0xD0};
    QColor backgroundColor;
    std::optional<qreal> heights;
    std::optional<qreal> widths;

    QSize sizeHint() const override;
    QRectF menuRect() const;

signals:
    void menuRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    RkButtonCell cell() const;
    bool hovered_ = false;
};
