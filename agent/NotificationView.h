#pragma once

#include <QWidget>

#include <functional>

// The reminder's content on a rounded panel of the window colour: a warning symbol, the title and
// a close button that runs onIgnore; a divider; the explanation; the Scan button that runs onScan.
class NotificationView : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize frameSize{340, 170};
    static constexpr int cornerRadius = 12;

    NotificationView(std::function<void()> onScan, std::function<void()> onIgnore, QWidget* parent = nullptr);

    QString title() const;

    const std::function<void()> onScan;
    const std::function<void()> onIgnore;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The window has no title bar: dragging the panel moves it.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLayout* makeTitleRow();
    QLayout* makeScanRow();
};
