#pragma once

#include "app/records/UninstallApp.h"
#include "app/ui/FlowScreenController.h"

#include <memory>
#include <vector>

class FlatAppList;
class QProgressBar;
class QPushButton;
class RkLabel;

// The screen shown while the chosen applications are removed: a progress bar, Cancel (which stops
// waiting for the daemon and leaves the rest) and the list of the applications with their total
// sizes.
class UninstallingViewController : public FlowScreenController {
    Q_OBJECT
public:
    explicit UninstallingViewController(QObject* parent = nullptr);
    ~UninstallingViewController() override;

    RkLabel* lbTitle = nullptr;
    QProgressBar* progress = nullptr;
    RkLabel* lbUninstall = nullptr;
    QPushButton* btnCancel = nullptr;
    std::vector<std::shared_ptr<UninstallApp>> deleteApps;
    // The applications are reset (their data removed, their bundles kept), not uninstalled.
    bool isReset = false;
    double value = 0;

    FlatAppList* list() const { return list_.get(); }
    // A new removal: the bar back to 0 and the list of deleteApps.
    void rebuild();
    // The fraction done, 0 to 1.
    void setValue(double fraction);

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;

private:
    std::unique_ptr<FlatAppList> list_;
};
