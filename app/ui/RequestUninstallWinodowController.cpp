#include "app/ui/RequestUninstallWinodowController.h"

#include "app/records/ItemSizes.h"
#include "app/removal/RemovalRights.h"
#include "app/ui/AppImages.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "app/ui/RemoveImmediatelySetting.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/ByteCountText.h"
#include "Auxiliary/RkLabel.h"
#include "Auxiliary/ViewHelpers.h"
#include "system/Utility.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Every way of closing the sheet other than the two buttons counts as Cancel.
class SheetDialog : public QDialog {
public:
    using QDialog::QDialog;
    std::function<void()> onReject;
    void reject() override
    {
        if (onReject)
            onReject();
        else
            QDialog::reject();
    }
};

}  // namespace

RequestUninstallWinodowController::RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> chosen,
                                                                     QObject* parent)
    : RequestUninstallWinodowController(std::move(chosen), Purpose::uninstall, parent)
{
}

RequestUninstallWinodowController::RequestUninstallWinodowController(std::vector<std::shared_ptr<UninstallApp>> chosen,
                                                                     Purpose purpose_, QObject* parent)
    : QObject(parent), purpose(purpose_), apps(std::move(chosen))
{
    const bool reset = purpose == Purpose::reset && apps.size() == 1;
    auto* dialog = new SheetDialog;
    dialog->onReject = [this] { cancel_click(); };
    window_ = dialog;
    // A reset's list shows files with where they lie: it needs the room.
    dialog->setFixedWidth(reset ? 460 : 378);
    dialog->setWindowTitle(QString());

    icon = new QLabel(dialog);
    icon->setPixmap(AppImages::named(QStringLiteral("trash")).pixmap(42, 42));
    icon->setFixedSize(42, 42);
    const QString title =
        reset ? tr("Reset “%1”?").arg(AppListModel::nameWithoutExtension(QString::fromStdString(apps.front()->displayName())))
              : titleFor(apps);
    lbTitle = new RkLabel(title, dialog);
    lbTitle->setFont(fonts::appFont(17));
    lbTitle->setWordWrap(true);
    lbTitle->setAlignment(Qt::AlignCenter);
    lbTotal = new RkLabel(QString(), dialog);
    lbTotal->setObjectName("lbTotal");
    lbTotal->setAlignment(Qt::AlignCenter);
    if (reset) {
        lbTotal->setWordWrap(true);
        lbTotal->setFixedWidth(400);
    }
    lbNeedsPassword = new RkLabel(QString(), dialog);
    lbNeedsPassword->setObjectName("lbNeedsPassword");
    lbNeedsPassword->setWordWrap(true);
    lbNeedsPassword->setFixedWidth(318);
    list_ = std::make_unique<FlatAppList>(dialog, AppListModel::AppSize::none, 200, 0);
    list_->view()->rowDelegate()->roundedRows = true;
    list_->view()->setFixedWidth(206);
    list_->setApps(apps);
    // The list shows four rows and a half: the half row and this line say there is more.
    lbScrollHint = new RkLabel(tr("Scroll to see all %n.", nullptr, static_cast<int>(apps.size())), dialog);
    lbScrollHint->setObjectName("lbScrollHint");
    lbScrollHint->setVisible(list_->listHeight() < OutlineRowDelegate::kRowHeight * static_cast<int>(apps.size()));
    if (reset) {
        list_->view()->hide();
        lbScrollHint->hide();
        showResetItems();
    }
    cbRemoveImmediately = new QCheckBox(tr("Delete immediately instead of moving to the Trash"), dialog);
    cbRemoveImmediately->setChecked(RemoveImmediatelySetting::value());
    cbDeleteWhereNoTrash = new QCheckBox(tr("Delete what cannot be moved to the Trash"), dialog);
    // Deleting at once takes everything anyway.
    cbDeleteWhereNoTrash->setEnabled(!cbRemoveImmediately->isChecked());
    connect(cbRemoveImmediately, &QCheckBox::toggled, this, [this](bool on) {
        RemoveImmediatelySetting::setValue(on);
        cbDeleteWhereNoTrash->setEnabled(!on);
        showTicked();
    });
    btnCancel = new QPushButton(tr("Cancel"), dialog);
    btnOk = new QPushButton(reset ? tr("Reset") : tr("Continue uninstall"), dialog);
    btnOk->setDefault(true);
    connect(btnCancel, &QPushButton::clicked, this, &RequestUninstallWinodowController::cancel_click);
    connect(btnOk, &QPushButton::clicked, this, &RequestUninstallWinodowController::ok_click);
    connect(dialog, &QDialog::finished, this, [this] { windowWillClose(); });
    showTicked();

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 30, 0, 20);
    layout->setSpacing(0);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addSpacing(20);
    auto* titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(54, 0, 54, 0);
    titleRow->addWidget(lbTitle);
    layout->addLayout(titleRow);
    layout->addSpacing(6);
    layout->addWidget(lbTotal, 0, Qt::AlignHCenter);
    layout->addWidget(lbNeedsPassword, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    if (itemList_)
        layout->addWidget(itemList_, 0, Qt::AlignHCenter);
    else
        layout->addWidget(list_->view(), 0, Qt::AlignHCenter);
    layout->addWidget(lbScrollHint, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    auto* choices = new QVBoxLayout;
    choices->setContentsMargins(30, 0, 30, 0);
    choices->setSpacing(6);
    choices->addWidget(cbRemoveImmediately);
    choices->addWidget(cbDeleteWhereNoTrash);
    layout->addLayout(choices);
    layout->addSpacing(14);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    buttons->addSpacing(12);
    buttons->addWidget(btnOk);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    updateAppearance();
}

void RequestUninstallWinodowController::showResetItems()
{
    // The application's groups and files under their check boxes; the bundle stays, so its group is
    // not shown.
    itemList_ = new NSOutlineViewEx(window_);
    itemModel_ = new AppListModel(AppListModel::Options{false, AppListModel::AppSize::none}, itemList_);
    itemList_->setModel(itemModel_);
    itemList_->setHeaderHidden(true);
    itemList_->setAlternatingRowColors(false);
    itemList_->setColumnHidden(AppListModel::kDateColumn, true);
    itemList_->setColumnWidth(AppListModel::kNameColumn, 310);
    itemList_->setColumnWidth(AppListModel::kSizeColumn, 84);
    itemList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    itemList_->setFixedSize(400, 180);
    views::makeScrollView(itemList_, nullptr);
    itemModel_->setApps(apps);
    const QModelIndex app = itemModel_->index(0, 0);
    itemList_->setRootIndex(app);
    for (int row = 0; row < itemModel_->rowCount(app); ++row) {
        const QModelIndex group = itemModel_->index(row, 0, app);
        const UnFileGroup* files = itemModel_->groupAt(group);
        itemList_->setRowHidden(row, app, files && files->type == RkUninstallCategoryType::bundle);
    }
    itemList_->expandAll();
    connect(itemList_, &NSOutlineViewEx::rowClicked, this, [this](const QModelIndex& index) {
        const QModelIndex row = index.siblingAtColumn(0);
        if (itemModel_->hasChildren(row))
            itemList_->setExpanded(row, !itemList_->isExpanded(row));
    });
    connect(itemModel_, &AppListModel::ticksChanged, this, &RequestUninstallWinodowController::showTicked);
}

void RequestUninstallWinodowController::showTicked()
{
    if (!cbRemoveImmediately)
        return;
    const bool reset = itemModel_ != nullptr;
    const std::int64_t bytes = ItemSizes::ticked(apps);
    lbTotal->setStringValue(reset ? resetTextFor(apps.front(), removesImmediately())
                                  : tr("Ticked items: %1").arg(localizedByteCount(bytes)));
    // A wrapped line in a sheet of fixed size: as high as its lines.
    if (reset)
        lbTotal->setFixedHeight(lbTotal->fontMetrics().boundingRect(QRect(0, 0, lbTotal->width(), 1000), Qt::TextWordWrap, lbTotal->text()).height() + 4);
    // A reset with nothing ticked would take nothing (an empty file ticked still counts).
    const auto anyTicked = [this] {
        for (const auto& group : apps.front()->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected)
                    return true;
        return false;
    };
    btnOk->setEnabled(!reset || anyTicked());
    const auto rights = Utility::isSandboxed() ? RemovalRights::Summary{} : RemovalRights::ofTicked(apps);
    if (!rights.administrator.empty()) {
        constexpr std::size_t kShown = 4;
        QString text = tr("These need an administrator's password:");
        for (std::size_t i = 0; i < rights.administrator.size() && i < kShown; ++i)
            text += QStringLiteral("\n") + QString::fromStdString(rights.administrator[i]);
        if (rights.administrator.size() > kShown)
            text += QStringLiteral("\n") + tr("and %n more", nullptr, static_cast<int>(rights.administrator.size() - kShown));
        lbNeedsPassword->setStringValue(text);
    }
    lbNeedsPassword->setVisible(!rights.administrator.empty());
}

QString RequestUninstallWinodowController::resetTextFor(const std::shared_ptr<UninstallApp>& app, bool immediately)
{
    const QString name = AppListModel::nameWithoutExtension(QString::fromStdString(app->displayName()));
    // The number and its unit stay on one line when the sentence wraps.
    const QString size = localizedByteCount(ItemSizes::ticked({app})).replace(QLatin1Char(' '), QChar(0x00A0));
    return immediately ? tr("%1 stays installed. Its settings, caches and other data (%2) are deleted.").arg(name, size)
                       : tr("%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.")
                             .arg(name, size);
}

QString RequestUninstallWinodowController::titleFor(const std::vector<std::shared_ptr<UninstallApp>>& chosen)
{
    const bool remains = !chosen.empty() && std::all_of(chosen.begin(), chosen.end(), [](const auto& app) { return app->isGone(); });
    if (chosen.size() == 1) {
        const QString name = AppListModel::nameWithoutExtension(QString::fromStdString(chosen.front()->displayName()));
        return (remains ? tr("Remove the remains of “%1”?") : tr("Uninstall “%1”?")).arg(name);
    }
    const int count = static_cast<int>(chosen.size());
    return remains ? tr("Remove the remains of %n application(s)?", nullptr, count) : tr("Uninstall %n application(s)?", nullptr, count);
}

RequestUninstallWinodowController::~RequestUninstallWinodowController()
{
    if (window_) {
        completion_ = nullptr;
        window_->close();
        delete window_;
    }
}

bool RequestUninstallWinodowController::removesImmediately() const
{
    return cbRemoveImmediately->isChecked();
}

bool RequestUninstallWinodowController::deletesWhereNoTrash() const
{
    return !cbRemoveImmediately->isChecked() && cbDeleteWhereNoTrash->isChecked();
}

void RequestUninstallWinodowController::updateAppearance()
{
    QPalette palette = window_->palette();
    const bool dark = appearance::isDark();
    palette.setColor(QPalette::Window, dark ? appearance::colorFromHex("2F2F2D") : QColor(Qt::white));
    palette.setColor(QPalette::AlternateBase, dark ? appearance::colorFromHex("FFFFFF", 0.08) : appearance::colorFromHex("F2F2F2"));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
    for (QCheckBox* box : {cbRemoveImmediately, cbDeleteWhereNoTrash})
        box->setPalette(appearance::withVisibleCheckBoxBorder(palette));
}

void RequestUninstallWinodowController::beginSheet(QWidget* parent, std::function<void(int)> completion)
{
    completion_ = std::move(completion);
    window_->setParent(parent, window_->windowFlags() | Qt::Sheet);
    window_->setWindowModality(Qt::WindowModal);
    window_->open();
}

void RequestUninstallWinodowController::cancel_click()
{
    retCode = 0;
    if (window_)
        window_->done(retCode);
}

void RequestUninstallWinodowController::ok_click()
{
    if (window_)
        window_->done(retCode);
}

void RequestUninstallWinodowController::windowWillClose()
{
    if (ended_)
        return;
    ended_ = true;
    if (auto completion = std::move(completion_))
        completion(retCode);
}
