#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Reveals files in the desktop's file manager with them selected (the freedesktop FileManager1
// interface over the session bus); without one, opens the folder that holds the first file.
class FileViewer {
public:
    static bool activateFileViewerSelecting(const QStringList& paths);

private:
    // The backend's part: asks the desktop's file manager to show `paths` (not empty) selected;
    // false when there is none to ask or the request could not be sent.
    static bool showInFileManager(const QStringList& paths);
};

}  // namespace platform
