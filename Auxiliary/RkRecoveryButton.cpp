#include "Auxiliary/RkRecoveryButton.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

RkRecoveryButton::RkRecoveryButton(const QString& title, QWidget* parent) : QPushButton(title, parent)
{
    setCursor(Qt::PointingHandCursor);
    setFlat(true);
}

RkButtonCell RkRecoveryButton::cell() const
{
    RkButtonCell cell;
    cell.menuImage = menuImage;
    cell.extralength = extralength;
    cell.leftInterval = leftInterval;
    cell.startColor = startColor;
    cell.endColor = endColor;
    if (heights)
        cell.height = *heights;
    if (widths)
        cell.width = *widths;
    return cell;
}

QSize RkRecoveryButton::sizeHint() const
{
    return cell().sizeFor(text(), icon(), font()).toSize();
}

QRectF RkRecoveryButton::menuRect() const
{
    return cell().menuRect(QRectF(rect()));
}

void RkRecoveryButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (backgroundColor.isValid())
        painter.fillRect(rect(), backgroundColor);
    QColor text = palette().color(QPalette::HighlightedText);
    if (!isEnabled())
        text.setAlphaF(0.5f);
    cell().draw(painter, QRectF(rect()), this->text(), icon(), font(), text, isDown() || hovered_);
}

void RkRecoveryButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && menuRect().contains(event->position())) {
        emit menuRequested();
        if (menu2)
            menu2->popup(mapToGlobal(QPoint(0, height())));
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void RkRecoveryButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QPushButton::enterEvent(event);
}

void RkRecoveryButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QPushButton::leaveEvent(event);
}
