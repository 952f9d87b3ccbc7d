#pragma once

#include "app/records/UninstallApp.h"
#include "app/removal/RemovalRecord.h"
#include "app/ui/FlowScreenController.h"

#include <memory>
#include <optional>
#include <vector>

class FlatAppList;
class QLabel;
class QVBoxLayout;
class RkFlatButton;
class RkLabel;
class UninstallCompletedDelegate;

// The screen after a removal that took everything: the removed applications with their sizes, how
// much went to the Trash, "Put Back" while the removal's record has something in the Trash, and
// "Finish", which returns to the list.
class UninstallCompletedViewController : public FlowScreenController {
    Q_OBJECT
public:
    explicit UninstallCompletedViewController(QObject* parent = nullptr);
    ~UninstallCompletedViewController() override;

    QLabel* icon = nullptr;
    std::vector<std::shared_ptr<UninstallApp>> deleteApps;
    RkLabel* lbTitle = nullptr;
    RkLabel* lbCompleted = nullptr;
    RkFlatButton* btnCompleted = nullptr;
    RkLabel* lbTrash = nullptr;
    RkFlatButton* btnPutBack = nullptr;
    UninstallCompletedDelegate* delegate = nullptr;
    // The applications shown were reset: they stay installed, their data went.
    bool isReset = false;

    FlatAppList* list() const { return list_.get(); }
    virtual void showApplications(std::vector<std::shared_ptr<UninstallApp>> apps);
    // The record of the removal just done (nullopt: none): the Trash line and Put Back follow it.
    void showRemoval(std::optional<RemovalRecord> record);
    const std::optional<RemovalRecord>& removal() const { return removal_; }
    // While a put back runs its button stays disabled.
    void setPuttingBack(bool running);
    void completed_click();
    void putBack_click();

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;
    // Where a subclass puts its own content, between the title and the button.
    QVBoxLayout* contentLayout = nullptr;

private:
    std::unique_ptr<FlatAppList> list_;
    QWidget* putBackHolder_ = nullptr;
    std::optional<RemovalRecord> removal_;
};
