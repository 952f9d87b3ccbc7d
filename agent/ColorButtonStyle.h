#pragma once

#include <QMargins>
#include <QProxyStyle>

// A button drawn as its label in the accent colour on a rounded, faintly tinted background of the
// same colour; while pressed both fade. The label is in the body font with medium weight.
class ColorButtonStyle : public QProxyStyle {
public:
    static constexpr QMargins insets{8, 4, 8, 5};  // left, top, right, bottom
    static constexpr qreal cornerRadius = 5;
    static constexpr qreal backgroundOpacity = 0.14;
    static constexpr qreal pressedBackgroundOpacity = 0.08;
    static constexpr qreal labelOpacity = 1.0;
    static constexpr qreal pressedLabelOpacity = 0.8;

    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                           const QWidget* widget = nullptr) const override;
};
