#pragma once

#include "app/records/UninstallApp.h"
#include "app/ui/FlowScreenController.h"

#include <memory>
#include <vector>

class FlatAppList;
class QLabel;
class QVBoxLayout;
class RkFlatButton;
class RkLabel;
class UninstallCompletedDelegate;

// The screen after a removal that took everything: the removed applications with their sizes and
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
    UninstallCompletedDelegate* delegate = nullptr;

    FlatAppList* list() const { return list_.get(); }
    virtual void showApplications(std::vector<std::shared_ptr<UninstallApp>> apps);
    void completed_click();

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;
    // Where a subclass puts its own content, between the title and the button.
    QVBoxLayout* contentLayout = nullptr;

private:
    std::unique_ptr<FlatAppList> list_;
};
