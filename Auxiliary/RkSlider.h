#pragma once

#include <QColor>
#include <QWidget>

// A rounded bar drawn in `lightColor` or `darkColor` by the appearance; a track or a thin divider.
class RkSlider : public QWidget {
    Q_OBJECT
public:
    explicit RkSlider(QWidget* parent = nullptr);

    QColor lightColor{0xE1, 0xE1, 0xE1};
    QColor darkColor{0x4A, 0x4A, 0x48};
    qreal cornerRadius = 2;

    QColor currentColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
