#include "platform/qt/FileViewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform {

bool FileViewer::activateFileViewerSelecting(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    if (showInFileManager(paths))
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(paths.first()).absolutePath()));
}

}  // namespace platform
