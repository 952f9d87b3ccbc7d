#include "agent/NotificationWindowController.h"

#include "agent/NotificationView.h"

#include <QGuiApplication>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

NotificationWindowController::NotificationWindowController(std::function<void()> onScan, std::function<void()> onIgnore)
    : window_(std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool))
{
    mainView = new NotificationView(std::move(onScan), std::move(onIgnore));
    mainView->setWindowTitle(mainView->title());
    hold(mainView);
}

NotificationWindowController::NotificationWindowController(QWidget* panel)
    : window_(std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool))
{
    hold(panel);
}

void NotificationWindowController::hold(QWidget* panel)
{
    panel_ = panel;
    window_->setAttribute(Qt::WA_TranslucentBackground);
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->setWindowTitle(panel->windowTitle());
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(panel);
    window_->adjustSize();

    window_->setWindowOpacity(0);
    if (const auto position = restingPositionOnScreen())
        window_->move(*position);

    presentDelay_.setSingleShot(true);
    presentDelay_.setInterval(presentDelayMs);
    QObject::connect(&presentDelay_, &QTimer::timeout, [this] { slideIn(); });
}

NotificationWindowController::~NotificationWindowController() = default;

QPoint NotificationWindowController::restingPosition(const QRect& availableArea, const QSize& size)
{
    const int x = availableArea.x() + availableArea.width() - size.width() - rightMargin;
    const int y = availableArea.y() + topMargin;
    const int lowestY = availableArea.y() + availableArea.height() - size.height();
    return {std::max(x, availableArea.x()), std::min(y, lowestY)};
}

std::optional<QPoint> NotificationWindowController::restingPositionOnScreen() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    QRect area = screen->availableGeometry();
    area.setTop(area.top() + restingOffset_);
    return restingPosition(area, window_->size());
}

void NotificationWindowController::present()
{
    window_->show();
    window_->raise();
    presentDelay_.start();
}

void NotificationWindowController::slideIn()
{
    const QPoint resting = restingPositionOnScreen().value_or(window_->pos());
    window_->move(resting - QPoint(0, slideDistance));
    window_->setWindowOpacity(0);
    animateTo(resting, 1, nullptr);
}

void NotificationWindowController::dismiss()
{
    presentDelay_.stop();
    if (!window_->isVisible())
        return;
    animateTo(window_->pos() - QPoint(0, slideDistance), 0, [this] { window_->hide(); });
}

void NotificationWindowController::close()
{
    presentDelay_.stop();
    if (animation_)
        animation_->stop();
    window_->hide();
}

void NotificationWindowController::animateTo(const QPoint& position, qreal opacity, std::function<void()> finished)
{
    // A stopped animation neither finishes nor lingers: it deletes itself without its end action.
    if (animation_)
        animation_->stop();
    auto* group = new QParallelAnimationGroup(window_.get());
    auto* slide = new QPropertyAnimation(window_.get(), "pos", group);
    slide->setDuration(animationMs);
    slide->setEndValue(position);
    auto* fade = new QPropertyAnimation(window_.get(), "windowOpacity", group);
    fade->setDuration(animationMs);
    fade->setEndValue(opacity);
    if (finished)
        QObject::connect(group, &QAbstractAnimation::finished, window_.get(), std::move(finished));
    animation_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}
