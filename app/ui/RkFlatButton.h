#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QMap>

class QGraphicsOpacityEffect;
class QVariantAnimation;

// The screens' flat push button: a rounded, bordered body with a title and an optional tinted icon.
// It animates between its normal colours (state off) and its active colours (state on), shows the
// active colours while pressed when momentary, dims slightly while the pointer is outside, and
// sends clicked() on release. A disabled button lets clicks pass through to what lies below.
class RkFlatButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class ImagePosition { noImage, imageOnly, imageLeft, imageRight, imageBelow, imageAbove, imageOverlaps };

    explicit RkFlatButton(QWidget* parent = nullptr);
    explicit RkFlatButton(const QString& title, QWidget* parent = nullptr);

    // Appearance; setting any of them re-applies the colours of the current state.
    bool momentary() const { return momentary_; }
    void setMomentary(bool value);
    double onAnimationDuration() const { return onAnimationDuration_; }
    void setOnAnimationDuration(double seconds);
    double offAnimationDuration() const { return offAnimationDuration_; }
    void setOffAnimationDuration(double seconds);
    qreal glowRadius() const { return glowRadius_; }
    void setGlowRadius(qreal value);
    qreal glowOpacity() const { return glowOpacity_; }
    void setGlowOpacity(qreal value);
    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal value);
    qreal borderWidth() const { return borderWidth_; }
    void setBorderWidth(qreal value);
    void setBorderColor(const QColor& color);
    void setActiveBorderColor(const QColor& color);
    void setButtonColor(const QColor& color);
    void setActiveButtonColor(const QColor& color);
    void setIconColor(const QColor& color);
    void setActiveIconColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setActiveTextColor(const QColor& color);
    QColor buttonColor() const { return colors_[kButton]; }
    QColor activeButtonColor() const { return colors_[kActiveButton]; }
    QColor textColor() const { return colors_[kText]; }

    void setImage(const QIcon& image);
    void setAlternateImage(const QIcon& image);
    void setImagePosition(ImagePosition position);

    // On shows the active colours.
    bool state() const { return state_; }
    void setState(bool on);

    // What is drawn now: the colours that the layers hold (their animations' end values).
    QColor layerBackgroundColor() const { return layer_.value(QStringLiteral("backgroundColor")); }
    QColor layerBorderColor() const { return layer_.value(QStringLiteral("borderColor")); }
    QColor titleColor() const { return titleColor_; }
    // How many colour animations have been started so far.
    int animationsStarted() const { return animationsStarted_; }
    qreal alpha() const;
    QRectF titleRect() const;
    QRectF iconRect() const;

    QSize sizeHint() const override;

    // The screens' main buttons: the body and border in `accent` (darker while pressed), white title.
    void useAccentColors(const QColor& accent);
    // A holder around the button that casts the screens' button shadow (the button's own effect
    // dims it on hover, and a widget takes one effect). Put the holder in the layout.
    QWidget* makeShadowHolder(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    enum ColorRole { kBorder, kActiveBorder, kButton, kActiveButton, kIcon, kActiveIcon, kText, kActiveText, kRoleCount };
    void setColor(ColorRole role, const QColor& color);
    void applyColors(bool on);
    void animate(const QString& keyPath, const QColor& target, double duration);
    QColor presented(const QString& keyPath) const;
    void layoutContent() const;

    bool momentary_ = true;
    double onAnimationDuration_ = 0;
    double offAnimationDuration_ = 0.1;
    qreal glowRadius_ = 0;
    qreal glowOpacity_ = 0;
    qreal cornerRadius_ = 4;
    qreal borderWidth_ = 1;
    QColor colors_[kRoleCount];
    QIcon image_;
    QIcon alternateImage_;
    ImagePosition imagePosition_ = ImagePosition::imageLeft;

    bool state_ = false;
    bool mouseDown_ = false;
    const qreal mouseEnteredaAlphaValue = 1.0;
    const qreal mouseExitAlphaValue = 0.94;
    QGraphicsOpacityEffect* opacity_;

    // The model value of each animated key path, and its running animation.
    QMap<QString, QColor> layer_;
    QMap<QString, QVariantAnimation*> animations_;
    QColor titleColor_;
    int animationsStarted_ = 0;
    mutable QRectF titleRect_;
    mutable QRectF iconRect_;
};
