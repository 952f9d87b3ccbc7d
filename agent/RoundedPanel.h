#pragma once

#include <QWidget>

// The agent's panels: a rounded rectangle of the window colour filling a frameless window, which
// has no title bar, so dragging the panel itself moves the window.
class RoundedPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int cornerRadius = 12;

    explicit RoundedPanel(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
