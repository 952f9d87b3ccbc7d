#pragma once

#include <QLabel>

class QGraphicsOpacityEffect;
class QSequentialAnimationGroup;

// Every text label of the screens: no frame, no background, not editable, not selectable. A new
// text may fade in: out over half the interval, in over the other half.
class RkLabel : public QLabel {
    Q_OBJECT
public:
    explicit RkLabel(QWidget* parent = nullptr);
    explicit RkLabel(const QString& text, QWidget* parent = nullptr);

    // Same text as now: nothing happens (no flash).
    void setStringValue(const QString& text, bool animated = false, double interval = 0.3);
    // The same for rich text.
    void setAttributedStringValue(const QString& html, bool animated = false, double interval = 0.3);
    bool isAnimating() const;

private:
    void setValue(const QString& text, Qt::TextFormat format, bool animated, double interval);
    QGraphicsOpacityEffect* opacity_ = nullptr;
    QSequentialAnimationGroup* fade_ = nullptr;
    QString target_;
    Qt::TextFormat targetFormat_ = Qt::PlainText;
};
