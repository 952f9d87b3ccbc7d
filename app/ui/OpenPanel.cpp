#include "app/ui/OpenPanel.h"

#include "app/locations/FolderAccess.h"

#include <QApplication>
#include <QFileDialog>

void installOpenPanelRunner()
{
    setOpenPanelRunner([](const OpenPanelRequest& request) {
        QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.prompt),
                           QString::fromStdString(request.directory));
        dialog.setFileMode(request.canChooseFiles ? QFileDialog::ExistingFile : QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, !request.canChooseFiles);
        dialog.setOption(QFileDialog::ReadOnly, !request.canCreateDirectories);
        dialog.setFilter(request.showsHiddenFiles ? QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot
                                                  : QDir::AllDirs | QDir::NoDotAndDotDot);
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(request.prompt));
        OpenPanelResponse response;
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            response.response = 1;
            response.urls.push_back(dialog.selectedFiles().first().toStdString());
        }
        return response;
    });
}
