#pragma once

#include "agent/RoundedPanel.h"

#include <functional>

// The weekly reminder's content on a rounded panel: a warning symbol, the title and
// a close button that runs onIgnore; a divider; the explanation; the Scan button that runs onScan.
class NotificationView : public RoundedPanel {
    Q_OBJECT

public:
    static constexpr QSize frameSize{340, 170};

    NotificationView(std::function<void()> onScan, std::function<void()> onIgnore, QWidget* parent = nullptr);

    QString title() const;

    const std::function<void()> onScan;
    const std::function<void()> onIgnore;

private:
    QLayout* makeTitleRow();
    QLayout* makeScanRow();
};
