#pragma once

#include "app/records/UninstallApp.h"

#include <QObject>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class AppListModel;
class FlatAppList;
class NSOutlineViewEx;
class QCheckBox;
class QLabel;
class QPushButton;
class RkLabel;

// The sheet that asks to confirm a removal and lists the applications to remove. Its answer is
// retCode: 1 ("Continue uninstall") starts the removal, 0 ("Cancel", Escape or the close box)
// leaves everything as it was. Below the list: whether to delete at once instead of moving to the
// Trash (the user's lasting setting, saved as soon as it changes), and the consent, asked each
// time, to delete what no Trash can take. Main thread only.
//
// For a reset (one application, its items ticked by selectForReset) the sheet says that the
// application stays and lists the items that go, each with its check box: what the user unticks
// stays. The size line follows the ticks; with nothing ticked the sheet cannot be confirmed.
class RequestUninstallWinodowController : public QObject {
    Q_OBJECT
public:
    enum class Purpose { uninstall, reset };
    explicit RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> apps, QObject* parent = nullptr);
    RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> apps, Purpose purpose, QObject* parent = nullptr);
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
    // What the ticked items add up to: "Ticked items: 1.4 GB"; for a reset, what stays and what goes
    // with its size.
    RkLabel* lbTotal = nullptr;
    // The ticked items that need an administrator's password (beyond the user's own rights and
    // places), shown before anything is asked; hidden when there is none.
    RkLabel* lbNeedsPassword = nullptr;
    int retCode = 1;
    const Purpose purpose;
    std::vector<std::shared_ptr<UninstallApp>> apps;
    FlatAppList* list() const { return list_.get(); }
    // A reset's items with their check boxes (the application's groups and files, the bundle's group
    // hidden); null when uninstalling.
    NSOutlineViewEx* itemList() const { return itemList_; }
    AppListModel* itemModel() const { return itemModel_; }
    bool removesImmediately() const;
    // "Uninstall “Name”?", "Uninstall 3 applications?", or for gone applications "Remove the
    // remains of …?".
    static QString titleFor(const std::vector<std::shared_ptr<UninstallApp>>& chosen);
    // "Foo stays installed. Its settings, caches and other data (12.3 MB) go to the Trash; …".
    static QString resetTextFor(const std::shared_ptr<UninstallApp>& app, bool immediately);
    bool deletesWhereNoTrash() const;

    // Shows the sheet on `parent` (window-modal) and calls `completion` with retCode once it ends.
    void beginSheet(QWidget* parent, std::function<void(int)> completion);
    void cancel_click();
    void ok_click();

private:
    void windowWillClose();
    void updateAppearance();
    void showResetItems();
    void showTicked();

    QPointer<QDialog> window_;
    std::unique_ptr<FlatAppList> list_;
    NSOutlineViewEx* itemList_ = nullptr;
    AppListModel* itemModel_ = nullptr;
    std::function<void(int)> completion_;
    bool ended_ = false;
};
