#pragma once

#include <QPointer>
#include <QScrollBar>

class QAbstractScrollArea;
class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

// An auto-hiding vertical scroller that takes no room: it lies over the right edge of a scroll
// area's viewport, draws only its knob, shows while scrolling and fades out `fadeOutDelay` after the
// last scroll unless the pointer is over it. attach() puts one on any scroll area (an item view too)
// in place of its own vertical scroll bar, which keeps driving the scrolling.
class OverlayScroller : public QScrollBar {
    Q_OBJECT
public:
    explicit OverlayScroller(QWidget* parent = nullptr);

    static OverlayScroller* attach(QAbstractScrollArea* area);
    static bool isCompatibleWithOverlayScrollers(const QMetaObject* scrollerClass);
    static int zeroWidth() { return 0; }

    qreal alpha() const;
    void fadeOut();
    int fadeOutDelay = 1500;  // milliseconds

    // Places the scroller at the right edge of the scroll area's viewport, over its full height,
    // above its siblings; hidden when there is nothing to scroll.
    void tile();

protected:
    void paintEvent(QPaintEvent* event) override;
    void sliderChange(SliderChange change) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void animateAlpha(qreal to, int milliseconds);
    QGraphicsOpacityEffect* opacity_;
    QPropertyAnimation* animation_;
    QTimer* fadeTimer_;
    // The viewport, not the area: the area's destructor still sends the viewport events.
    QPointer<QWidget> viewport_;
};
