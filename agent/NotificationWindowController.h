#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class NotificationView;
class QParallelAnimationGroup;
class QWidget;

// The window of the agent's panels: frameless, above every other window, in the top-right corner
// of the primary screen, the size of its panel. It slides down into place while fading in, and up
// while fading out. Made with the two actions, it holds the weekly reminder.
class NotificationWindowController {
public:
    static constexpr QSize windowSize{340, 170};
    static constexpr int rightMargin = 20;
    static constexpr int topMargin = 10;
    static constexpr int slideDistance = 20;
    static constexpr int presentDelayMs = 100;
    static constexpr int animationMs = 300;

    NotificationWindowController(std::function<void()> onScan, std::function<void()> onIgnore);
    // A window holding `panel` (which it takes), titled with the panel's window title.
    explicit NotificationWindowController(QWidget* panel);
    ~NotificationWindowController();
    NotificationWindowController(const NotificationWindowController&) = delete;
    NotificationWindowController& operator=(const NotificationWindowController&) = delete;

    QWidget* window() const { return window_.get(); }
    QWidget* panel() const { return panel_; }

    // Where a window of `size` rests in `availableArea`: rightMargin from its right edge and
    // topMargin below its top, kept from leaving it on the left or at the bottom.
    static QPoint restingPosition(const QRect& availableArea, const QSize& size);

    // Rests this many pixels lower than restingPosition says (below another panel on screen).
    void setRestingOffset(int pixels) { restingOffset_ = pixels; }

    // Shows the window; after presentDelayMs it slides in from slideDistance above its resting
    // place, fading in.
    void present();
    // Slides the window slideDistance up while fading it out, then hides it.
    void dismiss();
    // Hides the window at once.
    void close();

    NotificationView* mainView = nullptr;  // the weekly reminder's panel, else nullptr

private:
    void hold(QWidget* panel);
    // The resting position on the primary screen; nullopt without a screen.
    std::optional<QPoint> restingPositionOnScreen() const;
    void slideIn();
    void animateTo(const QPoint& position, qreal opacity, std::function<void()> finished);

    std::unique_ptr<QWidget> window_;
    QWidget* panel_ = nullptr;  // owned by the window
    int restingOffset_ = 0;
    QTimer presentDelay_;
    QPointer<QParallelAnimationGroup> animation_;
};
