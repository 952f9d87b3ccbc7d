#pragma once

#include "agent/RoundedPanel.h"

#include <functional>
#include <optional>

class QLabel;

// The weekly reminder's content on a rounded panel: a warning symbol, the title and
// a close button that runs onIgnore; a divider; what the agent found (until it has looked, an
// invitation to scan); the Scan button that runs onScan.
class NotificationView : public RoundedPanel {
    Q_OBJECT

public:
    // At least; taller when the message needs more lines.
    static constexpr QSize frameSize{340, 170};

    NotificationView(std::function<void()> onScan, std::function<void()> onIgnore, QWidget* parent = nullptr);

    QString title() const;
    // The words for what a look at the installed applications found: how many were not opened for
    // a long time, or the invitation to scan when there are none or it could not look.
    static QString messageFor(std::optional<int> longUnused);
    void setMessage(const QString& text);

    const std::function<void()> onScan;
    const std::function<void()> onIgnore;

private:
    QLabel* message_ = nullptr;

    // frameSize, or taller when the texts need it.
    void fitHeight();
    QLayout* makeTitleRow();
    QLayout* makeScanRow();
};
