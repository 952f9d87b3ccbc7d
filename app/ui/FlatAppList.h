#pragma once

#include "app/ui/AppListModel.h"

#include <memory>
#include <vector>

class NSOutlineViewEx;
class QWidget;

// The flat lists of the flow screens and the confirmation sheet: one row per application with its
// icon and name and, when wanted, a size; no header, no check boxes, nothing expands. The list's
// height follows the number of rows up to kMaximumHeight, then it scrolls.
class FlatAppList {
public:
    FlatAppList(QWidget* parent, AppListModel::AppSize size, int nameWidth, int sizeWidth);

    NSOutlineViewEx* view() const { return view_; }
    AppListModel* model() const { return model_; }

    // Shows `shown` and sets the height to min(36 x rows, kMaximumHeight).
    void setApps(std::vector<std::shared_ptr<UninstallApp>> shown);
    int listHeight() const;
    static constexpr int kMaximumHeight = 162;  // four rows and a half: the half row says there is more

private:
    NSOutlineViewEx* view_;
    AppListModel* model_;
};
