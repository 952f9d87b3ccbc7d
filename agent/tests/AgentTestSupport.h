#pragma once

#include "agent/NotificationView.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <functional>

// Runs the event loop until the condition holds; false when it still does not after a generous
// time. Only a bound against hanging: no test depends on how fast anything happens.
inline bool processEventsUntil(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 10000);
}

// The reminder windows on screen, however they came there.
inline int visibleReminderWindows()
{
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->findChild<NotificationView*>())
            ++count;
    }
    return count;
}
