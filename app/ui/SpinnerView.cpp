#include "app/ui/SpinnerView.h"

#include <QPainter>
#include <QTimer>

#include <cmath>
#include <numbers>

SpinnerView::SpinnerView(QWidget* parent) : QWidget(parent), timer_(new QTimer(this))
{
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % kPhases;
        update();
    });
}

void SpinnerView::startAnimation()
{
    timer_->start();
    show();
}

void SpinnerView::stopAnimation()
{
    timer_->stop();
}

bool SpinnerView::isAnimating() const
{
    return timer_->isActive();
}

void SpinnerView::paint(QPainter& painter, const QRectF& rect, int phase, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF center = rect.center();
    const qreal radius = std::min(rect.width(), rect.height()) / 2;
    QPen pen(color, std::max(1.5, radius / 5), Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < kPhases; ++i) {
        const qreal angle = 2 * std::numbers::pi * i / kPhases;
        // The spoke at the current phase is darkest; the ones behind it fade.
        const int age = (phase - i + kPhases) % kPhases;
        QColor spoke = color;
        spoke.setAlphaF(static_cast<float>(1.0 - 0.75 * age / kPhases));
        pen.setColor(spoke);
        painter.setPen(pen);
        const QPointF direction(std::sin(angle), -std::cos(angle));
        painter.drawLine(center + direction * radius * 0.45, center + direction * radius * 0.9);
    }
    painter.restore();
}

void SpinnerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), phase_, palette().color(QPalette::WindowText));
}
