#include "app/ui/FlatAppList.h"

#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "Auxiliary/ViewHelpers.h"

#include <QHeaderView>

FlatAppList::FlatAppList(QWidget* parent, AppListModel::AppSize size, int nameWidth, int sizeWidth)
    : view_(new NSOutlineViewEx(parent)),
      model_(new AppListModel(AppListModel::Options{true, size}, view_))
{
    view_->setModel(model_);
    view_->rowDelegate()->showsCheckBoxes = false;
    // Nothing to do on these rows from the keyboard: the keys stay with the screen's buttons.
    view_->setFocusPolicy(Qt::NoFocus);
    view_->setHeaderHidden(true);
    view_->setAlternatingRowColors(false);
    view_->setColumnWidth(AppListModel::kNameColumn, nameWidth);
    view_->setColumnHidden(AppListModel::kDateColumn, true);
    view_->setColumnHidden(AppListModel::kSizeColumn, size == AppListModel::AppSize::none);
    if (size != AppListModel::AppSize::none)
        view_->setColumnWidth(AppListModel::kSizeColumn, sizeWidth);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    views::makeScrollView(view_, nullptr);
    view_->setFixedHeight(0);
}

void FlatAppList::setApps(std::vector<std::shared_ptr<UninstallApp>> shown)
{
    model_->setApps(std::move(shown));
    view_->setFixedHeight(listHeight());
}

int FlatAppList::listHeight() const
{
    return std::min(OutlineRowDelegate::kRowHeight * model_->rowCount(), kMaximumHeight);
}
