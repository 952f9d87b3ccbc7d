#pragma once

#include "app/records/UninstallApp.h"

#include <QObject>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class FlatAppList;
class QCheckBox;
class QLabel;
class QPushButton;
class RkLabel;

// The sheet that asks to confirm a removal and lists the applications to remove. Its answer is
// retCode: 1 ("Continue uninstall") starts the removal, 0 ("Cancel", Escape or the close box)
// leaves everything as it was. Below the list: whether to delete at once instead of moving to the
// Trash (the user's lasting setting, saved as soon as it changes), and the consent, asked each
// time, to delete what no Trash can take. Main thread only.
class RequestUninstallWinodowController : public QObject {
    Q_OBJECT
public:
    explicit RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> apps, QObject* parent = nullptr);
    ~RequestUninstallWinodowController() override;

    QDialog* window() const { return window_; }
    QPushButton* btnCancel = nullptr;
    QPushButton* btnOk = nullptr;
    QCheckBox* cbRemoveImmediately = nullptr;
    QCheckBox* cbDeleteWhereNoTrash = nullptr;
    QLabel* icon = nullptr;
    RkLabel* lbTitle = nullptr;
    // Shown when the list holds more rows than it shows: "Scroll to see all 10."
    RkLabel* lbScrollHint = nullptr;
    // What the ticked items add up to: "Frees 1.4 GB".
    RkLabel* lbTotal = nullptr;
    // The ticked items that need an administrator's password (beyond the user's own rights and
    // places), shown before anything is asked; hidden when there is none.
    RkLabel* lbNeedsPassword = nullptr;
    int retCode = 1;
    std::vector<std::shared_ptr<UninstallApp>> apps;
    FlatAppList* list() const { return list_.get(); }
    bool removesImmediately() const;
    // "Uninstall “Name”?", "Uninstall 3 applications?", or for gone applications "Remove the
    // remains of …?".
    static QString titleFor(const std::vector<std::shared_ptr<UninstallApp>>& chosen);
    bool deletesWhereNoTrash() const;

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
