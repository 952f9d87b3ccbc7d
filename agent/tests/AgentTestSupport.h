#pragma once

#include "agent/NotificationView.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <functional>

// Runs the event loop until the condition holds; false when it still does not after a generous
// time. Only a bound against hanging: no test depends on how fast anything happens.
inline bool processEventsUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

// The reminder windows on screen, however they came there.
inline long visibleReminderWindows()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(), [](const QWidget* w) { return w->isVisible() && w->findChild<NotificationView*>(); });
}
