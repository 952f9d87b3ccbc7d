#include "platform/qt/QtMainQueue.h"

#include "platform/DispatchQueue.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace platform {

void installQtMainQueue()
{
    dispatch::MainQueue::setExecutor([](dispatch::Task task) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return;
        QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
    });
    // Whatever was queued before the loop existed runs in its first turn.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { dispatch::MainQueue::drain(); }, Qt::QueuedConnection);
}

}  // namespace platform
