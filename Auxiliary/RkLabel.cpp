#include "Auxiliary/RkLabel.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

RkLabel::RkLabel(QWidget* parent) : RkLabel(QString(), parent) {}

RkLabel::RkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setTextFormat(Qt::PlainText);
}

void RkLabel::setStringValue(const QString& value, bool animated, double interval)
{
    setValue(value, Qt::PlainText, animated, interval);
}

void RkLabel::setAttributedStringValue(const QString& html, bool animated, double interval)
{
    setValue(html, Qt::RichText, animated, interval);
}

bool RkLabel::isAnimating() const
{
    return fade_ && fade_->state() == QAbstractAnimation::Running;
}

void RkLabel::setValue(const QString& value, Qt::TextFormat format, bool animated, double interval)
{
    const bool sameAsShown = isAnimating() ? (value == target_ && format == targetFormat_)
                                           : (value == text() && format == textFormat());
    if (sameAsShown)
        return;
    target_ = value;
    targetFormat_ = format;
    if (!animated || interval <= 0) {
        setTextFormat(format);
        setText(value);
        return;
    }
    if (!opacity_) {
        opacity_ = new QGraphicsOpacityEffect(this);
        opacity_->setOpacity(1);
        setGraphicsEffect(opacity_);
    }
    if (fade_)
        fade_->stop();
    delete fade_;
    const int half = static_cast<int>(interval * 1000 / 2);
    fade_ = new QSequentialAnimationGroup(this);
    auto* out = new QPropertyAnimation(opacity_, "opacity");
    out->setDuration(half);
    out->setEndValue(0.0);
    out->setEasingCurve(QEasingCurve::OutQuad);
    auto* in = new QPropertyAnimation(opacity_, "opacity");
    in->setDuration(half);
    in->setStartValue(0.0);
    in->setEndValue(1.0);
    in->setEasingCurve(QEasingCurve::OutQuad);
    fade_->addAnimation(out);
    fade_->addAnimation(in);
    connect(out, &QPropertyAnimation::finished, this, [this, value, format] {
        setTextFormat(format);
        setText(value);
    });
    fade_->start();
}
