#include "app/ui/RkFlatButton.h"

#include "Auxiliary/Drawing.h"

#include <QGraphicsDropShadowEffect>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace {
const QString kBackground = QStringLiteral("backgroundColor");
const QString kBorderKey = QStringLiteral("borderColor");
const QString kIconKey = QStringLiteral("icon.backgroundColor");
const QString kAlternateIconKey = QStringLiteral("alternateIcon.backgroundColor");
const QString kShadowKey = QStringLiteral("container.shadowColor");
constexpr qreal kIconSide = 16;
}  // namespace

RkFlatButton::RkFlatButton(QWidget* parent) : RkFlatButton(QString(), parent) {}

RkFlatButton::RkFlatButton(const QString& title, QWidget* parent)
    : QAbstractButton(parent), opacity_(new QGraphicsOpacityEffect(this))
{
    colors_[kBorder] = QColor(Qt::darkGray);
    colors_[kActiveBorder] = QColor(Qt::white);
    colors_[kButton] = QColor(Qt::white);
    colors_[kActiveButton] = QColor(Qt::white);
    colors_[kIcon] = QColor(Qt::gray);
    colors_[kActiveIcon] = QColor(Qt::black);
    colors_[kText] = QColor(Qt::lightGray);
    colors_[kActiveText] = QColor(Qt::gray);
    opacity_->setOpacity(mouseExitAlphaValue);
    setGraphicsEffect(opacity_);
    setMouseTracking(true);
    setText(title);
    // The first colours are set, not animated: there is nothing to animate from.
    layer_[kBackground] = colors_[kButton];
    layer_[kBorderKey] = colors_[kBorder];
    layer_[kIconKey] = colors_[kIcon];
    layer_[kAlternateIconKey] = Qt::transparent;
    layer_[kShadowKey] = Qt::transparent;
    titleColor_ = colors_[kText];
}

void RkFlatButton::setMomentary(bool value) { momentary_ = value; applyColors(state_); }
void RkFlatButton::setOnAnimationDuration(double seconds) { onAnimationDuration_ = seconds; applyColors(state_); }
void RkFlatButton::setOffAnimationDuration(double seconds) { offAnimationDuration_ = seconds; applyColors(state_); }
void RkFlatButton::setGlowRadius(qreal value) { glowRadius_ = value; applyColors(state_); }
void RkFlatButton::setGlowOpacity(qreal value) { glowOpacity_ = value; applyColors(state_); }
void RkFlatButton::setCornerRadius(qreal value) { cornerRadius_ = value; applyColors(state_); }
void RkFlatButton::setBorderWidth(qreal value) { borderWidth_ = value; applyColors(state_); }
void RkFlatButton::setBorderColor(const QColor& color) { setColor(kBorder, color); }
void RkFlatButton::setActiveBorderColor(const QColor& color) { setColor(kActiveBorder, color); }
void RkFlatButton::setButtonColor(const QColor& color) { setColor(kButton, color); }
void RkFlatButton::setActiveButtonColor(const QColor& color) { setColor(kActiveButton, color); }
void RkFlatButton::setIconColor(const QColor& color) { setColor(kIcon, color); }
void RkFlatButton::setActiveIconColor(const QColor& color) { setColor(kActiveIcon, color); }
void RkFlatButton::setTextColor(const QColor& color) { setColor(kText, color); }
void RkFlatButton::setActiveTextColor(const QColor& color) { setColor(kActiveText, color); }

void RkFlatButton::setColor(ColorRole role, const QColor& color)
{
    colors_[role] = color;
    applyColors(state_);
}

void RkFlatButton::setImage(const QIcon& image)
{
    image_ = image;
    update();
}

void RkFlatButton::setAlternateImage(const QIcon& image)
{
    alternateImage_ = image;
    applyColors(state_);
}

void RkFlatButton::setImagePosition(ImagePosition position)
{
    imagePosition_ = position;
    update();
}

void RkFlatButton::setState(bool on)
{
    if (on == state_)
        return;
    state_ = on;
    applyColors(on);
}

qreal RkFlatButton::alpha() const
{
    return opacity_->opacity();
}

void RkFlatButton::applyColors(bool on)
{
    for (auto* animation : std::as_const(animations_))
        animation->stop();
    const double duration = on ? onAnimationDuration_ : offAnimationDuration_;
    animate(kBackground, on ? colors_[kActiveButton] : colors_[kButton], duration);
    animate(kBorderKey, on ? colors_[kActiveBorder] : colors_[kBorder], duration);
    titleColor_ = on ? colors_[kActiveText] : colors_[kText];
    if (!alternateImage_.isNull()) {
        animate(kIconKey, on ? QColor(Qt::transparent) : colors_[kIcon], duration);
        animate(kAlternateIconKey, on ? colors_[kActiveIcon] : QColor(Qt::transparent), duration);
    } else {
        animate(kIconKey, on ? colors_[kActiveIcon] : colors_[kIcon], duration);
    }
    if (glowRadius_ > 0 && glowOpacity_ > 0)
        animate(kShadowKey, on ? colors_[kActiveIcon] : QColor(Qt::transparent), duration);
    update();
}

void RkFlatButton::animate(const QString& keyPath, const QColor& target, double duration)
{
    // Running animations were removed first, so what shows now is the layer's own value.
    const QColor current = layer_.value(keyPath);
    if (current == target)
        return;
    layer_[keyPath] = target;
    QVariantAnimation*& animation = animations_[keyPath];
    if (!animation) {
        animation = new QVariantAnimation(this);
        connect(animation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    }
    animation->stop();
    animation->setStartValue(current);
    animation->setEndValue(target);
    animation->setDuration(static_cast<int>(duration * 1000));
    ++animationsStarted_;
    animation->start();
}

QColor RkFlatButton::presented(const QString& keyPath) const
{
    const auto* animation = animations_.value(keyPath);
    if (animation && animation->state() == QAbstractAnimation::Running)
        return animation->currentValue().value<QColor>();
    return layer_.value(keyPath);
}

QSize RkFlatButton::sizeHint() const
{
    const QSizeF title = drawing::sizeOfFont(text(), font());
    qreal width = title.width() + 24;
    if (!image_.isNull() && imagePosition_ != ImagePosition::noImage)
        width += kIconSide + 8;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(qMax(title.height(), kIconSide) + 12)));
}

QRectF RkFlatButton::titleRect() const
{
    layoutContent();
    return titleRect_;
}

QRectF RkFlatButton::iconRect() const
{
    layoutContent();
    return iconRect_;
}

void RkFlatButton::layoutContent() const
{
    const QSizeF title = drawing::sizeOfFont(text(), font());
    const QRectF bounds(rect());
    const bool hasImage = !image_.isNull() && imagePosition_ != ImagePosition::noImage;
    iconRect_ = hasImage ? QRectF(0, 0, kIconSide, kIconSide) : QRectF();
    auto third = [](qreal free) { return std::floor(free / 3); };
    switch (hasImage ? imagePosition_ : ImagePosition::noImage) {
    case ImagePosition::imageLeft: {
        const qreal gap = third(bounds.width() - title.width() - kIconSide);
        iconRect_.moveTo(gap, (bounds.height() - kIconSide) / 2);
        titleRect_ = QRectF(QPointF(iconRect_.right() + gap, (bounds.height() - title.height()) / 2), title);
        break;
    }
    case ImagePosition::imageRight: {
        const qreal gap = third(bounds.width() - title.width() - kIconSide);
        titleRect_ = QRectF(QPointF(gap, (bounds.height() - title.height()) / 2), title);
        iconRect_.moveTo(titleRect_.right() + gap, (bounds.height() - kIconSide) / 2);
        break;
    }
    case ImagePosition::imageAbove: {
        const qreal gap = third(bounds.height() - title.height() - kIconSide);
        iconRect_.moveTo((bounds.width() - kIconSide) / 2, gap);
        titleRect_ = QRectF(QPointF((bounds.width() - title.width()) / 2, iconRect_.bottom() + gap), title);
        break;
    }
    case ImagePosition::imageBelow: {
        const qreal gap = third(bounds.height() - title.height() - kIconSide);
        titleRect_ = QRectF(QPointF((bounds.width() - title.width()) / 2, gap), title);
        iconRect_.moveTo((bounds.width() - kIconSide) / 2, titleRect_.bottom() + gap);
        break;
    }
    default:
        titleRect_ = QRectF(QPointF((bounds.width() - title.width()) / 2, (bounds.height() - title.height()) / 2), title);
        if (hasImage)
            iconRect_.moveTo((bounds.width() - kIconSide) / 2, (bounds.height() - kIconSide) / 2);
        break;
    }
}

void RkFlatButton::useAccentColors(const QColor& accent)
{
    setButtonColor(accent);
    setActiveButtonColor(accent.darker(120));
    setBorderColor(accent);
    setActiveBorderColor(accent.darker(120));
    setTextColor(Qt::white);
    setActiveTextColor(Qt::white);
}

QWidget* RkFlatButton::makeShadowHolder(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* shadow = new QGraphicsDropShadowEffect(holder);
    shadow->setColor(QColor(0, 0, 0, 128));
    shadow->setOffset(0, 1.5);
    shadow->setBlurRadius(2);
    holder->setGraphicsEffect(shadow);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(3, 3, 3, 3);
    setParent(holder);
    layout->addWidget(this);
    return holder;
}

void RkFlatButton::paintEvent(QPaintEvent*)
{
    layoutContent();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = borderWidth_ / 2;
    const QRectF body = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(body, cornerRadius_, cornerRadius_);

    if (glowRadius_ > 0 && glowOpacity_ > 0) {
        QColor glow = presented(kShadowKey);
        glow.setAlphaF(static_cast<float>(glow.alphaF() * glowOpacity_));
        painter.setPen(QPen(glow, glowRadius_));
        painter.drawPath(path);
    }
    painter.fillPath(path, presented(kBackground));
    if (borderWidth_ > 0) {
        painter.setPen(QPen(presented(kBorderKey), borderWidth_));
        painter.drawPath(path);
    }
    auto drawIcon = [&](const QIcon& icon, const QColor& color) {
        if (icon.isNull() || iconRect_.isEmpty() || color.alpha() == 0)
            return;
        const qreal ratio = devicePixelRatioF();
        QImage mask = icon.pixmap(iconRect_.size().toSize(), ratio).toImage();
        painter.drawImage(iconRect_, drawing::colorized(mask, color));
    };
    drawIcon(image_, presented(kIconKey));
    drawIcon(alternateImage_, presented(kAlternateIconKey));
    painter.setFont(font());
    painter.setPen(titleColor_);
    painter.drawText(titleRect_, Qt::AlignCenter, text());
    // Reached by Tab: the focus ring, inside the button's own bounds.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius_, cornerRadius_);
        // A white line inside, so that the ring shows on a button filled with the accent colour too.
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), std::max(0.0, cornerRadius_ - 2), std::max(0.0, cornerRadius_ - 2));
    }
}

void RkFlatButton::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mouseDown_ = true;
    setState(!state_);
    event->accept();
}

void RkFlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!mouseDown_) {
        event->ignore();
        return;
    }
    mouseDown_ = false;
    if (momentary_)
        setState(!state_);
    event->accept();
    emit clicked(state_);
}

void RkFlatButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void RkFlatButton::enterEvent(QEnterEvent* event)
{
    opacity_->setOpacity(mouseEnteredaAlphaValue);
    setCursor(Qt::PointingHandCursor);
    QAbstractButton::enterEvent(event);
}

void RkFlatButton::leaveEvent(QEvent* event)
{
    opacity_->setOpacity(mouseExitAlphaValue);
    setCursor(Qt::ArrowCursor);
    QAbstractButton::leaveEvent(event);
}

void RkFlatButton::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    update();
}

void RkFlatButton::changeEvent(QEvent* event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    if (event->type() == QEvent::FontChange)
        update();
}

bool RkFlatButton::hitButton(const QPoint& pos) const
{
    return isEnabled() && rect().contains(pos);
}
