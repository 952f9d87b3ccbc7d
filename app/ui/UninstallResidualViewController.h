#pragma once

#include "app/ui/UninstallCompletedViewController.h"

class UninstallResidualView;

// The screen after a removal that left something: what is left of each chosen application, by
// category and file, expanded, each file with a reveal button; the user deletes them by hand.
class UninstallResidualViewController : public UninstallCompletedViewController {
    Q_OBJECT
public:
    explicit UninstallResidualViewController(QObject* parent = nullptr);

    RkLabel* lbResidual = nullptr;
    RkLabel* lbtip = nullptr;
    QLabel* icon2 = nullptr;
    UninstallResidualView* uninstatllResidualView = nullptr;

    void showApplications(std::vector<std::shared_ptr<UninstallApp>> apps) override;

protected:
    void addSubViews() override;
    void addConstraints() override;
    void updateAppearance(bool isDark) override;
};
