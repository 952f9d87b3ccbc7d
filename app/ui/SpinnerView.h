#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

// A spinning progress indicator: twelve fading spokes. paint() draws one frame anywhere (the
// outline's rows use it too).
class SpinnerView : public QWidget {
    Q_OBJECT
public:
    explicit SpinnerView(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const;

    static void paint(QPainter& painter, const QRectF& rect, int phase, const QColor& color);
    static constexpr int kPhases = 12;

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* timer_;
    int phase_ = 0;
};
