#include "Auxiliary/OverlayScroller.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QStyleOptionSlider>
#include <QTimer>

namespace {
constexpr int kScrollerWidth = 10;
}

OverlayScroller::OverlayScroller(QWidget* parent)
    : QScrollBar(Qt::Vertical, parent),
      opacity_(new QGraphicsOpacityEffect(this)),
      animation_(new QPropertyAnimation(opacity_, "opacity", this)),
      fadeTimer_(new QTimer(this))
{
    opacity_->setOpacity(0);
    setGraphicsEffect(opacity_);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFixedWidth(kScrollerWidth);
    fadeTimer_->setSingleShot(true);
    connect(fadeTimer_, &QTimer::timeout, this, [this] {
        if (!underMouse())
            fadeOut();
    });
}

OverlayScroller* OverlayScroller::attach(QAbstractScrollArea* area)
{
    auto* scroller = new OverlayScroller(area);
    scroller->viewport_ = area->viewport();
    QScrollBar* driver = area->verticalScrollBar();
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setRange(driver->minimum(), driver->maximum());
    scroller->setPageStep(driver->pageStep());
    scroller->setSingleStep(driver->singleStep());
    scroller->setValue(driver->value());
    connect(driver, &QScrollBar::rangeChanged, scroller, [scroller, driver](int min, int max) {
        scroller->setRange(min, max);
        scroller->setPageStep(driver->pageStep());
        scroller->tile();
    });
    connect(driver, &QScrollBar::valueChanged, scroller, &QScrollBar::setValue);
    connect(scroller, &QScrollBar::valueChanged, driver, &QScrollBar::setValue);
    area->viewport()->installEventFilter(scroller);
    scroller->tile();
    return scroller;
}

bool OverlayScroller::isCompatibleWithOverlayScrollers(const QMetaObject* scrollerClass)
{
    return scrollerClass == &OverlayScroller::staticMetaObject;
}

qreal OverlayScroller::alpha() const
{
    return opacity_->opacity();
}

void OverlayScroller::fadeOut()
{
    animateAlpha(0, 300);
}

void OverlayScroller::tile()
{
    if (!viewport_)
        return;
    const QRect viewport = viewport_->geometry();
    setGeometry(viewport.right() + 1 - kScrollerWidth, viewport.top(), kScrollerWidth, viewport.height());
    setVisible(maximum() > minimum());
    raise();
}

void OverlayScroller::paintEvent(QPaintEvent*)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect knob = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    if (knob.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = palette().color(QPalette::WindowText);
    color.setAlphaF(0.45f);
    const QRectF body = QRectF(knob).adjusted(2, 2, -2, -2);
    QPainterPath path;
    path.addRoundedRect(body, body.width() / 2, body.width() / 2);
    painter.fillPath(path, color);
}

void OverlayScroller::sliderChange(SliderChange change)
{
    QScrollBar::sliderChange(change);
    if (change != SliderValueChange)
        return;
    animation_->stop();
    opacity_->setOpacity(1);
    fadeTimer_->start(fadeOutDelay);
}

void OverlayScroller::enterEvent(QEnterEvent* event)
{
    QScrollBar::enterEvent(event);
    fadeTimer_->stop();
    animateAlpha(1, 100);
}

void OverlayScroller::leaveEvent(QEvent* event)
{
    QScrollBar::leaveEvent(event);
    fadeOut();
}

void OverlayScroller::mouseMoveEvent(QMouseEvent* event)
{
    animation_->stop();
    opacity_->setOpacity(1);
    QScrollBar::mouseMoveEvent(event);
}

bool OverlayScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (viewport_ && watched == viewport_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        tile();
    return QScrollBar::eventFilter(watched, event);
}

void OverlayScroller::animateAlpha(qreal to, int milliseconds)
{
    animation_->stop();
    if (qFuzzyCompare(opacity_->opacity(), to))
        return;
    animation_->setDuration(milliseconds);
    animation_->setStartValue(opacity_->opacity());
    animation_->setEndValue(to);
    animation_->start();
}
