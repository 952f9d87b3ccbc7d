#pragma once

#include "app/records/UninstallApp.h"
#include "Auxiliary/BaseView.h"

#include <memory>
#include <vector>

class AppListModel;
class NSOutlineViewEx;

// The outline of what a removal left: applications, their groups and files, every row without a
// check box, files with their sizes and reveal buttons.
class UninstallResidualView : public BaseView {
    Q_OBJECT
public:
    explicit UninstallResidualView(QWidget* parent = nullptr);

    NSOutlineViewEx* outlineView() const { return outline_; }
    AppListModel* model() const { return model_; }
    // Shows `apps` with every application and group expanded; `withoutBundles`: the bundles' groups
    // not shown (after a reset, which keeps them).
    void showExpanded(std::vector<std::shared_ptr<UninstallApp>> apps, bool withoutBundles = false);

protected:
    void addSubViews() override;
    void addConstraints() override;

private:
    NSOutlineViewEx* outline_ = nullptr;
    AppListModel* model_ = nullptr;
};
