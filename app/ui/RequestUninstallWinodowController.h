#pragma once

#include "app/records/UninstallApp.h"

#include <QObject>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class FlatAppList;
class QLabel;
class QPushButton;
class RkLabel;

// The sheet that asks to confirm a removal and lists the applications to remove. Its answer is
// retCode: 1 ("Continue uninstall") starts the removal, 0 ("Cancel", Escape or the close box)
// leaves everything as it was. Main thread only.
class RequestUninstallWinodowController : public QObject {
    Q_OBJECT
public:
    explicit RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> apps, QObject* parent = nullptr);
    ~RequestUninstallWinodowController() override;

    QDialog* window() const { return window_; }
    QPushButton* btnCancel = nullptr;
    QPushButton* btnOk = nullptr;
    QLabel* icon = nullptr;
    RkLabel* lbTitle = nullptr;
    int retCode = 1;
    std::vector<std::shared_ptr<UninstallApp>> apps;
    FlatAppList* list() const { return list_.get(); }

    // Shows the sheet on `parent` (window-modal) and calls `completion` with retCode once it ends.
    void beginSheet(QWidget* parent, std::function<void(int)> completion);
    void cancel_click();
    void ok_click();

private:
    void windowWillClose();
    void updateAppearance();

    QPointer<QDialog> window_;
    std::unique_ptr<FlatAppList> list_;
    std::function<void(int)> completion_;
    bool ended_ = false;
};
