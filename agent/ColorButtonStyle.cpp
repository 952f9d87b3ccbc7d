#include "agent/ColorButtonStyle.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(static_cast<float>(opacity));
    return colour;
}

}  // namespace

void ColorButtonStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    QFont medium = widget->font();
    medium.setWeight(QFont::Medium);
    widget->setFont(medium);
}

void ColorButtonStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_PushButton || !button) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool pressed = button->state & (State_Sunken | State_On);
    const QColor accent = button->palette.color(QPalette::Highlight);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(withOpacity(accent, pressed ? pressedBackgroundOpacity : backgroundOpacity));
    painter->drawRoundedRect(QRectF(button->rect), cornerRadius, cornerRadius);
    painter->setPen(withOpacity(accent, pressed ? pressedLabelOpacity : labelOpacity));
    painter->drawText(button->rect.marginsRemoved(insets), Qt::AlignCenter | Qt::TextShowMnemonic, button->text);
    painter->restore();
}

QSize ColorButtonStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                                         const QWidget* widget) const
{
    if (type != CT_PushButton)
        return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
    return contentsSize.grownBy(insets);
}
