#include "app/ui/UninstallResidualView.h"

#include "app/ui/AppListModel.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/ViewHelpers.h"
#include "platform/qt/FileViewer.h"

#include <QVBoxLayout>

UninstallResidualView::UninstallResidualView(QWidget* parent) : BaseView(parent) {}

void UninstallResidualView::addSubViews()
{
    outline_ = new NSOutlineViewEx(this);
    model_ = new AppListModel(AppListModel::Options{false, AppListModel::AppSize::none}, this);
    outline_->setModel(model_);
    outline_->rowDelegate()->showsCheckBoxes = false;
    outline_->setHeaderHidden(true);
    outline_->setAlternatingRowColors(false);
    outline_->setColumnWidth(AppListModel::kNameColumn, 600);
    outline_->setColumnWidth(AppListModel::kSizeColumn, 100);
    outline_->setColumnHidden(AppListModel::kDateColumn, true);
    views::makeScrollView(outline_, nullptr);
    connect(outline_, &NSOutlineViewEx::rowClicked, this, [this](const QModelIndex& index) {
        const QModelIndex row = index.siblingAtColumn(0);
        if (model_->hasChildren(row))
            outline_->setExpanded(row, !outline_->isExpanded(row));
    });
    connect(outline_->rowDelegate(), &OutlineRowDelegate::revealClicked, this, [this](const QModelIndex& index) {
        if (const UnFileItem* item = model_->fileAt(index))
            platform::FileViewer::activateFileViewerSelecting({QString::fromStdString(item->filePath)});
    });
    QPalette palette = outline_->palette();
    palette.setColor(QPalette::Base, appearance::colorFromHex("808080", 0.1));
    outline_->setPalette(palette);
    outline_->setAutoFillBackground(true);
    outline_->viewport()->setAutoFillBackground(true);
}

void UninstallResidualView::addConstraints()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outline_);
}

void UninstallResidualView::showExpanded(std::vector<std::shared_ptr<UninstallApp>> apps, bool withoutBundles)
{
    model_->setApps(std::move(apps));
    for (int row = 0; row < model_->rowCount(); ++row) {
        const QModelIndex app = model_->index(row, 0);
        for (int group = 0; group < model_->rowCount(app); ++group) {
            const UnFileGroup* files = model_->groupAt(model_->index(group, 0, app));
            outline_->setRowHidden(group, app, withoutBundles && files && files->type == RkUninstallCategoryType::bundle);
        }
    }
    outline_->expandAll();
}
