#include "platform/qt/FileViewer.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

bool FileViewer::activateFileViewerSelecting(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    const QString service = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value()) {
        QStringList uris;
        for (const QString& path : paths)
            uris << QUrl::fromLocalFile(path).toString();
        QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/FileManager1"),
                                                           service, QStringLiteral("ShowItems"));
        call << uris << QString();
        if (bus.send(call))
            return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(paths.first()).absolutePath()));
}

}  // namespace platform
