#include "app/ui/MainViewController.h"

#include "Auxiliary/AppIconCache.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/catalogue/RemovedApplicationsSetting.h"
#include "app/records/ItemSizes.h"
#include "app/ui/AppListFilter.h"
#include "app/ui/ApplicationFolderWatch.h"
#include "app/ui/ExclusionsWindowController.h"
#include "app/ui/AppListModel.h"
#include "app/ui/MainViewDelegateBridge.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "app/ui/PutBackReportText.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/RequestUninstallWinodowController.h"
#include "app/ui/RkLoadAppView.h"
#include "app/ui/SpinnerView.h"
#include "app/ui/UninstallCompletedViewController.h"
#include "app/ui/UninstallResidualViewController.h"
#include "app/ui/UninstallingViewController.h"
#include "app/removal/DaemonInstaller.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/ByteCountText.h"
#include "platform/BundleIdentifier.h"
#include "Auxiliary/RkLabel.h"
#include "Auxiliary/ViewHelpers.h"
#include "platform/Bundle.h"
#include "platform/DispatchQueue.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <QMenu>
#include "platform/qt/FileViewer.h"
#include "system/Utility.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QSet>
#include <QPushButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <utility>

namespace {

const QString kNameColumnId = QStringLiteral("com.uninstaller.name");
const QString kSizeColumnId = QStringLiteral("com.uninstaller.size");
const QString kDateColumnId = QStringLiteral("com.uninstaller.date");

void setBackground(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

}  // namespace

MainViewController::MainViewController(std::shared_ptr<UninstallAppManager> manager, QObject* parent)
    : BaseViewController(parent),
      manager_(std::move(manager)),
      bridge_(std::make_shared<MainViewDelegateBridge>(this)),
      model_(new AppListModel(this)),
      filter_(new AppListFilter(model_, this)),
      remainsModel_(new AppListModel(AppListModel::Options{false, AppListModel::AppSize::total}, this)),
      remainsFilter_(new AppListFilter(remainsModel_, this))
{
    if (const auto bundle = platform::Bundle::mainBundle())
        applicationBundlePath = bundle->bundlePath();
}

MainViewController::~MainViewController() = default;

NSOutlineViewEx* MainViewController::outlineView()
{
    if (!outline_)
        buildListView();
    return outline_;
}

void MainViewController::buildListView()
{
    outline_ = new NSOutlineViewEx;
    std::vector<TableColumn> columns{
        views::makeTableColumn(tr("Name"), kNameColumnId, 500),
        views::makeTableColumn(tr("Size"), kSizeColumnId, 150),
        views::makeTableColumn(tr("Recently used"), kDateColumnId, 150),
    };
    model_->setColumns(columns);
    remainsModel_->setColumns(columns);
    outline_->setModel(filter_);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        outline_->setColumnWidth(i, columns[i].width);
    outline_->setAutosaveTableColumns(QStringLiteral("com.uninstaller.outline"));
    views::makeScrollView(outline_, this);

    QHeaderView* header = outline_->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &MainViewController::sortDescriptorsDidChange);
    connect(outline_, &NSOutlineViewEx::rowClicked, this, &MainViewController::shouldSelectItem);
    connect(outline_->rowDelegate(), &OutlineRowDelegate::revealClicked, this, [](const QModelIndex& index) {
        const QString path = index.data(AppListModel::RevealPathRole).toString();
        if (!path.isEmpty())
            platform::FileViewer::activateFileViewerSelecting({path});
    });

    outline_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(outline_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QModelIndex row = outline_->indexAt(at);
        QPoint where = at;
        if (!row.isValid()) {  // the keyboard's menu key: the current row
            row = outline_->currentIndex();
            where = outline_->visualRect(row).center();
        }
        if (QMenu* menu = contextMenuFor(row)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(outline_->viewport()->mapToGlobal(where));
        }
    });

    spinnerTimer_ = new QTimer(this);
    spinnerTimer_->setInterval(80);
    connect(spinnerTimer_, &QTimer::timeout, this, [this] {
        auto* rows = outline_->rowDelegate();
        rows->spinnerPhase = (rows->spinnerPhase + 1) % SpinnerView::kPhases;
        outline_->viewport()->update();
    });
}

void MainViewController::addSubViews()
{
    QWidget* root = view();
    loadAppView = BaseView::make<RkLoadAppView>(root);

    mainView = new QWidget(root);
    mainView->hide();
    lbTitle = new RkLabel(tr("Ostrova"), mainView);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    lbAllProgram = new RkLabel(tr("All applications"), mainView);
    lbAllProgram->setFont(fonts::appMediumFont(15));
    lbSelected = new RkLabel(QString(), mainView);
    lbSelected->setFont(fonts::appMediumFont(15));

    btnInstalledScope = new RkFlatButton(tr("Applications"), mainView);
    btnRemainsScope = new RkFlatButton(tr("Remains"), mainView);
    for (RkFlatButton* scopeButton : {btnInstalledScope, btnRemainsScope}) {
        scopeButton->setFont(fonts::appFont(12));
        scopeButton->setFixedHeight(24);
        scopeButton->setMinimumWidth(96);
        scopeButton->setMomentary(false);
        scopeButton->setCornerRadius(5);
    }
    btnRemainsScope->setToolTip(tr("Remains of removed applications"));
    btnRemainsScope->setEnabled(false);
    connect(btnInstalledScope, &RkFlatButton::clicked, this, [this] { showScope(ListScope::installed); });
    connect(btnRemainsScope, &RkFlatButton::clicked, this, [this] { showScope(ListScope::remains); });

    searchField = new QLineEdit(mainView);
    searchField->setPlaceholderText(tr("Search"));
    searchField->setClearButtonEnabled(true);
    searchField->setFixedWidth(220);
    searchField->setEnabled(false);
    connect(searchField, &QLineEdit::textChanged, this, &MainViewController::controlTextDidChange);
    connect(searchField, &QLineEdit::returnPressed, this, &MainViewController::search_click);

    outlineView()->setParent(mainView);
    line = new QWidget(mainView);
    line->setFixedHeight(1);

    btnUnistall = new RkFlatButton(tr("Uninstall"), mainView);
    btnUnistall->setFont(fonts::appFont(13));
    // Wider when the word needs it (in a longer language).
    btnUnistall->setFixedSize(std::max(120, btnUnistall->sizeHint().width()), 32);
    btnUnistall->setCornerRadius(6);
    btnUnistall->setBorderWidth(0);
    btnUnistall->makeShadowHolder(mainView)->setObjectName(QStringLiteral("uninstallHolder"));
    connect(btnUnistall, &RkFlatButton::clicked, this, &MainViewController::uninstall_click);
    btnExclusions = new RkFlatButton(tr("Exclusions…"), mainView);
    btnExclusions->setFont(fonts::appFont(12));
    btnExclusions->setFixedSize(std::max(96, btnExclusions->sizeHint().width()), 24);
    btnExclusions->setCornerRadius(5);
    btnExclusions->setToolTip(tr("What is never offered, and the protected applications"));
    connect(btnExclusions, &RkFlatButton::clicked, this, &MainViewController::exclusions_click);
    folderWatch_ = new ApplicationFolderWatch([this](const std::vector<std::string>& bundles) { applicationsFound(bundles); }, this);
    // The list's commands and their keys (Control is the Command key on a Mac).
    const auto addCommand = [this](const QString& title, const QKeySequence& keys, auto run) {
        auto* action = new QAction(title, mainView);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, run);
        mainView->addAction(action);
    };
    addCommand(tr("Refresh"), QKeySequence(Qt::CTRL | Qt::Key_R), [this] { refresh(); });
    addCommand(tr("Find"), QKeySequence::Find, [this] {
        searchField->setFocus(Qt::ShortcutFocusReason);
        searchField->selectAll();
    });
    addCommand(tr("Uninstall"), QKeySequence(Qt::CTRL | Qt::Key_Backspace), [this] { uninstall_click(); });
    // Escape in the search field clears it and gives the keys back to the list.
    auto* clearSearch = new QAction(searchField);
    clearSearch->setShortcut(QKeySequence(Qt::Key_Escape));
    clearSearch->setShortcutContext(Qt::WidgetShortcut);
    connect(clearSearch, &QAction::triggered, this, [this] {
        searchField->clear();
        outline_->setFocus(Qt::OtherFocusReason);
    });
    searchField->addAction(clearSearch);
    connect(outline_, &NSOutlineViewEx::returnPressed, this, &MainViewController::uninstall_click);

    // For screen readers, and the order Tab takes.
    searchField->setAccessibleName(tr("Search applications"));
    outline_->setAccessibleName(tr("Applications and their files"));
    btnInstalledScope->setAccessibleName(tr("Show installed applications"));
    btnRemainsScope->setAccessibleName(tr("Show remains of removed applications"));
    btnUnistall->setAccessibleName(tr("Uninstall the ticked applications"));
    btnExclusions->setAccessibleName(tr("Show the exclusions and protected applications"));
    QWidget::setTabOrder(searchField, outline_);
    QWidget::setTabOrder(outline_, btnInstalledScope);
    QWidget::setTabOrder(btnInstalledScope, btnRemainsScope);
    QWidget::setTabOrder(btnRemainsScope, btnExclusions);
    QWidget::setTabOrder(btnExclusions, btnUnistall);
    cbWatchRemovedApplications = new QCheckBox(tr("Offer to remove what applications dragged to the Trash leave"), mainView);
    cbWatchRemovedApplications->setChecked(RemovedApplicationsSetting::isOn());
    cbWatchRemovedApplications->hide();
    connect(cbWatchRemovedApplications, &QCheckBox::toggled, this, [](bool on) { RemovedApplicationsSetting::setOn(on); });
    connect(model_, &AppListModel::chosenAppsChanged, this, &MainViewController::showChosenCount);
    connect(remainsModel_, &AppListModel::chosenAppsChanged, this, &MainViewController::showChosenCount);
    connect(model_, &AppListModel::ticksChanged, this, &MainViewController::showChosenCount);
    connect(remainsModel_, &AppListModel::ticksChanged, this, &MainViewController::showChosenCount);

    uninstallingViewController = new UninstallingViewController(this);
    uninstallCompletedViewController = new UninstallCompletedViewController(this);
    uninstallResidualViewController = new UninstallResidualViewController(this);
    for (FlowScreenController* screen : std::initializer_list<FlowScreenController*>{
             uninstallingViewController, uninstallCompletedViewController, uninstallResidualViewController}) {
        screen->view()->setParent(root);
        screen->setScreenHidden(true);
    }
    uninstallCompletedViewController->delegate = this;
    uninstallResidualViewController->delegate = this;
    connect(uninstallingViewController->btnCancel, &QPushButton::clicked, this, [this] { manager_->cancelRemoval(); });

    manager_->setDelegate(bridge_);
    const auto manager = manager_;
    dispatch::GlobalQueue::asyncAfter(std::chrono::duration<double>(discoveryDelay), [manager] { manager->loadApps(); });
}

void MainViewController::addConstraints()
{
    auto* stack = new QGridLayout(view());
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(loadAppView, 0, 0);
    stack->addWidget(mainView, 0, 0);
    stack->addWidget(uninstallingViewController->view(), 0, 0);
    stack->addWidget(uninstallCompletedViewController->view(), 0, 0);
    stack->addWidget(uninstallResidualViewController->view(), 0, 0);

    auto* list = new QVBoxLayout(mainView);
    list->setContentsMargins(0, 8, 0, 0);
    list->setSpacing(0);
    list->addWidget(lbTitle);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(20, 12, 20, 10);
    top->addWidget(lbAllProgram);
    top->addStretch(1);
    top->addWidget(btnInstalledScope);
    top->addSpacing(6);
    top->addWidget(btnRemainsScope);
    top->addSpacing(14);
    top->addWidget(searchField);
    list->addLayout(top);
    list->addWidget(outline_, 1);
    list->addWidget(line);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(20, 10, 17, 12);
    bottom->addWidget(lbSelected);
    bottom->addSpacing(16);
    bottom->addWidget(cbWatchRemovedApplications);
    bottom->addStretch(1);
    bottom->addWidget(btnExclusions);
    bottom->addSpacing(14);
    bottom->addWidget(mainView->findChild<QWidget*>(QStringLiteral("uninstallHolder")));
    list->addLayout(bottom);
}

void MainViewController::updateAppearance(bool isDark)
{
    using appearance::colorFromHex;
    setBackground(mainView, isDark ? colorFromHex("2F2F2D") : QColor(Qt::white));
    setBackground(line, isDark ? colorFromHex("FFFFFF", 0.1) : colorFromHex("e1e1e1"));
    setTextColor(lbTitle, isDark ? colorFromHex("FFFFFF") : colorFromHex("333333"));
    setTextColor(lbAllProgram, isDark ? colorFromHex("FFFFFF") : colorFromHex("404040"));
    setTextColor(lbSelected, isDark ? colorFromHex("FFFFFF") : colorFromHex("404040"));

    cbWatchRemovedApplications->setPalette(appearance::withVisibleCheckBoxBorder(mainView->palette()));
    QPalette list = outline_->palette();
    list.setColor(QPalette::Base, colorFromHex("000000", 0.001));
    list.setColor(QPalette::AlternateBase, isDark ? colorFromHex("FFFFFF", 0.04) : colorFromHex("F4F5F5"));
    list.setColor(QPalette::Text, isDark ? colorFromHex("FFFFFF") : colorFromHex("262626"));
    list.setColor(QPalette::Disabled, QPalette::Text, isDark ? colorFromHex("8C8C8C") : colorFromHex("9A9A9A"));
    outline_->setPalette(list);

    btnUnistall->useAccentColors(appearance::userAccentColor());
    isDark_ = isDark;
    styleScopeButtons();
}

void MainViewController::styleScopeButtons()
{
    using appearance::colorFromHex;
    const bool isDark = isDark_;
    for (RkFlatButton* button : {btnInstalledScope, btnRemainsScope, btnExclusions}) {
        button->useAccentColors(appearance::userAccentColor());
        // The scope not shown: a plain outlined button.
        button->setButtonColor(colorFromHex("000000", 0.0));
        button->setBorderColor(isDark ? colorFromHex("FFFFFF", 0.25) : colorFromHex("CFCFCF"));
        button->setBorderWidth(1);
        button->setTextColor(isDark ? colorFromHex("FFFFFF") : colorFromHex("404040"));
    }
    btnInstalledScope->setState(scope_ == ListScope::installed);
    btnRemainsScope->setState(scope_ == ListScope::remains);
}

void MainViewController::appsDidLoad()
{
    loadAppView->spinner->stopAnimation();
    loadAppView->hide();
    mainView->show();
    model_->setApps(manager_->allApps());
    const auto& apps = model_->apps();
    const bool scanning = std::any_of(apps.begin(), apps.end(), [](const auto& app) { return !app->isReady; });
    if (scanning && !filter_->isSizeSortable())
        spinnerTimer_->start();
}

void MainViewController::appDidScan(const std::shared_ptr<UninstallApp>& app)
{
    model_->appDidScan(app.get());
}

void MainViewController::allAppsDidScan()
{
    if (std::exchange(reloadWhenScanned_, false)) {
        rediscover();
        return;
    }
    filter_->setSizeSortable(true);
    folderWatch_->start();
    if (std::exchange(applicationsChanged_, false))
        folderWatch_->checkNow();
    // The catalogue finds the remains after the last installed application, before this report.
    remainsModel_->setApps(manager_->goneApps());
    remainsFilter_->setSizeSortable(true);
    showRemainsCount();
    if (!remainsToReview_.empty())
        reviewRemainsOf(std::exchange(remainsToReview_, {}));
    spinnerTimer_->stop();
    searchField->setEnabled(true);
    // The keys go to the list (Space ticks there rather than typing into the search), unless they
    // are somewhere on the list screen already or another screen is shown.
    QWidget* focused = QApplication::focusWidget();
    if (mainView->isVisible() && (!focused || !mainView->isAncestorOf(focused) || !focused->isVisible()))
        outline_->setFocus(Qt::OtherFocusReason);
    outline_->viewport()->update();
}

void MainViewController::uninstallProgress(UninstallType state, double value, double total)
{
    uninstallingViewController->setValue(total > 0 ? value / total : 0);
    if (state != eDeleteCompleted)
        return;
    uninstallingViewController->setScreenHidden(true);
    const auto& chosen = removalApps_;
    // A reset leaves the bundle and what the user unticked: only what it was to take counts.
    const auto left = [this](const auto& app) {
        if (!resetting_)
            return !app->fileGroups.empty();
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (resetItems_.count(item->filePath))
                    return true;
        return false;
    };
    const bool leftovers = std::any_of(chosen.begin(), chosen.end(), left);
    uninstallCompletedViewController->isReset = resetting_;
    uninstallResidualViewController->isReset = resetting_;
    uninstallCompletedViewController->setScreenHidden(leftovers);
    uninstallResidualViewController->setScreenHidden(!leftovers);
    UninstallCompletedViewController* shown = leftovers ? uninstallResidualViewController : uninstallCompletedViewController;
    shown->showApplications(chosen);
    shown->showRemoval(manager_->lastRemoval());
    // The keys go to the screen shown (Return finishes, Command-Z puts back), once the window has
    // them back from the sheet.
    QTimer::singleShot(0, shown->btnCompleted, [button = shown->btnCompleted] {
        if (button->isVisible())
            button->setFocus(Qt::OtherFocusReason);
    });
}

void MainViewController::askForceQuit(const std::shared_ptr<UninstallApp>& app, std::function<void(bool)> answer)
{
    QWidget* window = isViewLoaded() ? view()->window() : nullptr;
    if (!window || !window->isVisible()) {
        answer(false);
        return;
    }
    auto* alert = new QMessageBox(window);
    alert->setInformativeText(tr("Force quit may result in loss of data being edited"));
    alert->setText(tr("%1 is running, do you want to force quit?").arg(model_->displayName(app.get())));
    QAbstractButton* cancel = alert->addButton(tr("Cancel"), QMessageBox::RejectRole);
    alert->addButton(tr("Force quit"), QMessageBox::AcceptRole);
    alert->setIconPixmap(AppIconCache::iconFor(app->icon, true).pixmap(QSize(64, 64), window->devicePixelRatioF()));
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    views::setFocusRingType(alert, Qt::NoFocus);
    // Answered exactly once, whichever way the sheet ends.
    auto pending = std::make_shared<std::function<void(bool)>>(std::move(answer));
    connect(alert, &QMessageBox::finished, alert, [alert, cancel, pending] {
        if (auto reply = std::exchange(*pending, nullptr))
            reply(alert->clickedButton() != cancel);
    });
    connect(alert, &QObject::destroyed, [pending] {
        if (auto reply = std::exchange(*pending, nullptr))
            reply(false);
    });
    alert_ = alert;
    alert->open();
}

void MainViewController::controlTextDidChange(const QString& text)
{
    listFilter()->setSearchText(text);
}

void MainViewController::search_click()
{
    if (!searchField->text().isEmpty())
        listFilter()->setSearchText(searchField->text());
}

void MainViewController::showScope(ListScope scope)
{
    if (scope != scope_) {
        std::vector<int> widths;
        for (int column = 0; column < AppListModel::kColumnCount; ++column)
            widths.push_back(outline_->columnWidth(column));
        scope_ = scope;
        AppListFilter* shown = listFilter();
        if (shown->searchText() != searchField->text())
            shown->setSearchText(searchField->text());
        {
            const QSignalBlocker block(outline_->header());
            outline_->setModel(shown);
            outline_->header()->setSortIndicator(shown->sortIndicator().column, shown->sortIndicator().order);
        }
        for (int column = 0; column < AppListModel::kColumnCount; ++column)
            outline_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    lbAllProgram->setStringValue(scope_ == ListScope::installed ? tr("All applications")
                                                                 : tr("Remains of removed applications"));
    cbWatchRemovedApplications->setVisible(scope_ == ListScope::remains);
    styleScopeButtons();
    showChosenCount();
}

void MainViewController::showRemainsCount()
{
    const int count = remainsModel_->rowCount();
    btnRemainsScope->setText(count == 0 ? tr("Remains")
                                        : tr("Remains (%1)").arg(count));
    // Once the scan has looked, the scope opens even when empty: it holds the agent's setting too.
    btnRemainsScope->setEnabled(count > 0 || scope_ == ListScope::remains || remainsFilter_->isSizeSortable());
}

void MainViewController::showAlert(const QString& message, const QString& details)
{
    auto* alert = new QMessageBox(view()->window());
    alert->setText(message);
    alert->setInformativeText(details);
    alert->addButton(tr("Ok"), QMessageBox::AcceptRole);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    views::setFocusRingType(alert, Qt::NoFocus);
    alert_ = alert;
    alert->open();
}

bool MainViewController::mayRemoveFromHere()
{
    const std::string applications = platform::fixedPath("/Applications") + "/";
    if (!platform::path::startsWith(applicationBundlePath, applications) && !Utility::isSandboxed()) {
        showAlert(tr("The application is not installed in the /Applications directory. To ensure full "
                     "functionality, please move the application to that directory."));
        return false;
    }
    return true;
}

void MainViewController::uninstall_click()
{
    if (deleteApps().empty()) {
        showAlert(tr("Please select the file to delete"));
        return;
    }
    if (!mayRemoveFromHere())
        return;
    requestUninstallWinodowController.reset();
    requestUninstallWinodowController = std::make_unique<RequestUninstallWinodowController>(deleteApps());
    QPointer<MainViewController> self(this);
    requestUninstallWinodowController->beginSheet(view()->window(), [self](int code) {
        if (self && code == 1)
            self->beginRemoval(self->deleteApps(), false);
    });
}

void MainViewController::reset_click(const std::shared_ptr<UninstallApp>& app)
{
    if (!app || app->isProtected || !app->isReady || app->isGone() || !mainView->isVisible() || !mayRemoveFromHere())
        return;
    // The ticks as they were, for a sheet that is cancelled.
    std::vector<std::pair<std::shared_ptr<UnFileItem>, bool>> before;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            before.emplace_back(item, item->isSelected);
    UninstallAppManager::selectForReset(*app);
    outline_->viewport()->update();
    requestUninstallWinodowController.reset();
    requestUninstallWinodowController = std::make_unique<RequestUninstallWinodowController>(
        std::vector<std::shared_ptr<UninstallApp>>{app}, RequestUninstallWinodowController::Purpose::reset);
    QPointer<MainViewController> self(this);
    requestUninstallWinodowController->beginSheet(view()->window(), [self, app, before = std::move(before)](int code) {
        if (!self)
            return;
        if (code == 1) {
            self->beginRemoval({app}, true);
            return;
        }
        for (const auto& [item, ticked] : before)
            item->isSelected = ticked;
        self->outline_->viewport()->update();
    });
}

void MainViewController::exclusions_click()
{
    if (!mainView->isVisible())
        return;
    exclusionsWindowController = std::make_unique<ExclusionsWindowController>(manager_);
    QPointer<MainViewController> self(this);
    // An excluded item the store gives up is found by a new scan: the list is made anew.
    connect(exclusionsWindowController.get(), &ExclusionsWindowController::pathsRemoved, this, [self] {
        if (self)
            self->refresh();
    });
    exclusionsWindowController->beginSheet(view()->window());
}

void MainViewController::beginRemoval(std::vector<std::shared_ptr<UninstallApp>> apps, bool reset)
{
    // Made sure of on the delete queue, and only once the removal needs it: the window never waits
    // for it, and a removal of the user's own items asks no administrator.
    UninstallAppManager::RemovalOptions options;
    if (!Utility::isSandboxed())
        options.daemonStarter = [bundle = applicationBundlePath] { DaemonInstaller(bundle).ensureDaemon(); };
    options.removesImmediately = requestUninstallWinodowController->removesImmediately();
    options.deletesWhereNoTrash = requestUninstallWinodowController->deletesWhereNoTrash();
    options.keepsBundle = reset;
    removalApps_ = std::move(apps);
    resetting_ = reset;
    resetItems_.clear();
    // What the reset takes: the ticked items but the bundle's, which stay whatever is ticked.
    for (const auto& app : reset ? removalApps_ : std::vector<std::shared_ptr<UninstallApp>>{}) {
        const std::string bundle = app->bundlePath.value_or("");
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected && group->type != RkUninstallCategoryType::bundle && item->filePath != bundle &&
                    !platform::path::isInside(item->filePath, bundle))
                    resetItems_.insert(item->filePath);
    }
    uninstallingViewController->deleteApps = removalApps_;
    uninstallingViewController->isReset = reset;
    uninstallingViewController->rebuild();
    mainView->hide();
    uninstallingViewController->setScreenHidden(false);
    manager_->removeApps(removalApps_, std::move(options));
}

void MainViewController::showChosenCount()
{
    // Only the shown scope's ticks are removed; those of the other scope wait there, and the
    // footer says so rather than counting them.
    const std::size_t count = model()->chosenApps().size();
    const AppListModel* other = scope_ == ListScope::installed ? remainsModel_ : model_;
    const std::size_t elsewhere = other->chosenApps().size();
    QString text;
    if (count > 0) {
        // The same number the sheet shows before anything is removed.
        const std::int64_t bytes = ItemSizes::ticked(deleteApps());
        text = tr("%n application(s) selected", nullptr, static_cast<int>(count)) + QStringLiteral(", ") +
               localizedByteCount(bytes);
    }
    if (count > 0 || elsewhere > 0)
        putBackNote_.clear();
    if (elsewhere > 0) {
        const int others = static_cast<int>(elsewhere);
        const QString note = scope_ == ListScope::installed ? tr("%n ticked under Remains, not included", nullptr, others)
                                                            : tr("%n ticked under Applications, not included", nullptr, others);
        text += (text.isEmpty() ? QString() : QStringLiteral(" · ")) + note;
    }
    lbSelected->setStringValue(text.isEmpty() ? putBackNote_ : text);
}

void MainViewController::sortDescriptorsDidChange(int column, Qt::SortOrder order)
{
    const auto shown = listFilter()->requestSort(column, order);
    if (shown && (shown->column != column || shown->order != order)) {
        const QSignalBlocker block(outline_->header());
        outline_->header()->setSortIndicator(shown->column, shown->order);
    }
}

bool MainViewController::shouldSelectItem(const QModelIndex& index)
{
    if (!index.isValid())
        return false;
    const QModelIndex row = index.siblingAtColumn(0);
    const auto kind = static_cast<AppListModel::Kind>(row.data(AppListModel::KindRole).toInt());
    if (kind != AppListModel::Kind::file && row.model()->hasChildren(row))
        outline_->setExpanded(row, !outline_->isExpanded(row));
    return false;
}

void MainViewController::completed_click()
{
    returnToList();
}

void MainViewController::putBack_click(const RemovalRecord& record)
{
    QPointer<MainViewController> self(this);
    manager_->putBack(record, [self](PutBack::Report report) {
        if (self)
            self->putBackDidEnd(report);
    });
}

void MainViewController::putBackDidEnd(const PutBack::Report& report)
{
    uninstallCompletedViewController->setPuttingBack(false);
    uninstallResidualViewController->setPuttingBack(false);
    reloadApps();
    if (!report.complete()) {
        showAlert(PutBackReportText::title(report), PutBackReportText::details(report));
        return;
    }
    putBackNote_ = PutBackReportText::confirmation(report);
    showChosenCount();
}

void MainViewController::refresh()
{
    if (!mainView->isVisible())
        return;
    reloadApps();
}

void MainViewController::reloadApps()
{
    {
        const QSignalBlocker block(searchField);
        searchField->clear();
    }
    filter_->setSearchText(QString());
    remainsFilter_->setSearchText(QString());
    showScope(ListScope::installed);
    uninstallResidualViewController->setScreenHidden(true);
    uninstallCompletedViewController->setScreenHidden(true);
    mainView->hide();
    loadAppView->show();
    loadAppView->spinner->startAnimation();
    // The first scan may still be going through the list (a removal can start before it ends): the
    // list is replaced only once nothing reads it.
    if (!filter_->isSizeSortable())
        reloadWhenScanned_ = true;
    else
        rediscover();
}

void MainViewController::rediscover()
{
    model_->setApps({});
    remainsModel_->setApps({});
    manager_->startOver();
    filter_->setSizeSortable(false);
    remainsFilter_->setSizeSortable(false);
    searchField->setEnabled(false);
    showRemainsCount();
    const auto manager = manager_;
    dispatch::GlobalQueue::async([manager] { manager->loadApps(); });
}

std::vector<std::string> MainViewController::droppedBundles(const QMimeData* data) const
{
    std::vector<std::string> bundles;
    if (!data || !data->hasUrls())
        return bundles;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const std::string path = platform::path::trimTrailingSlashes(url.toLocalFile().toStdString());
        if (platform::path::toLower(platform::path::extension(path)) == "app")
            bundles.push_back(path);
    }
    return bundles;
}

Qt::DropAction MainViewController::dragEnter(QDragEnterEvent* event)
{
    return droppedBundles(event->mimeData()).empty() ? Qt::IgnoreAction : Qt::CopyAction;
}

bool MainViewController::performDragOperation(QDropEvent* event)
{
    bool chosen = false;
    for (const auto& bundle : droppedBundles(event->mimeData()))
        chosen = chooseApplicationAtPath(bundle) || chosen;
    return chosen;
}

bool MainViewController::chooseApplicationAtPath(const std::string& bundlePath)
{
    const QModelIndex row = model_->indexOfBundle(bundlePath);
    const UninstallApp* app = model_->appAt(row);
    if (!app || !app->isReady)
        return false;
    showScope(ListScope::installed);
    model_->setData(row, Qt::Checked, Qt::CheckStateRole);
    if (const QModelIndex shown = filter_->mapFromSource(row); shown.isValid())
        outline_->scrollTo(shown);
    return true;
}

void MainViewController::reviewRemainsOf(std::vector<std::string> identifiers)
{
    // Ticked now, they would lie behind a removal's screens and be cleared on the way back: they
    // wait for the list, as they wait for the scan.
    if (!filter_->isSizeSortable() || mainView->isHidden()) {
        remainsToReview_ = std::move(identifiers);
        return;
    }
    std::set<BundleIdentifier> wanted;
    for (const auto& identifier : identifiers)
        wanted.insert(BundleIdentifier(identifier));
    showScope(ListScope::remains);
    QModelIndex first;
    for (int row = 0; row < remainsModel_->rowCount(); ++row) {
        const QModelIndex index = remainsModel_->index(row, 0);
        const UninstallApp* app = remainsModel_->appAt(index);
        if (!app || !wanted.count(BundleIdentifier(app->bundleIdentifier())))
            continue;
        remainsModel_->setData(index, Qt::Checked, Qt::CheckStateRole);
        if (!first.isValid())
            first = index;
    }
    if (const QModelIndex shown = remainsFilter_->mapFromSource(first); shown.isValid())
        outline_->scrollTo(shown);
}

void MainViewController::returnToList()
{
    {
        const QSignalBlocker block(searchField);
        searchField->clear();
    }
    filter_->setSearchText(QString());
    remainsFilter_->setSearchText(QString());
    // Every application, not only those a search left on screen: a chosen one may be hidden.
    model_->pruneAfterRemoval(manager_->allApps());
    remainsModel_->pruneAfterRemoval(manager_->goneApps());
    showRemainsCount();
    if (scope_ == ListScope::remains && remainsModel_->rowCount() == 0)
        showScope(ListScope::installed);

    mainView->show();
    uninstallResidualViewController->setScreenHidden(true);
    uninstallCompletedViewController->setScreenHidden(true);
    if (!remainsToReview_.empty())
        reviewRemainsOf(std::exchange(remainsToReview_, {}));
    if (std::exchange(applicationsChanged_, false))
        folderWatch_->checkNow();
}

void MainViewController::applicationsFound(const std::vector<std::string>& bundles)
{
    if (!mainView->isVisible() || !filter_->isSizeSortable()) {
        applicationsChanged_ = true;
        return;
    }
    manager_->applicationsFound(bundles);
}

QMenu* MainViewController::contextMenuFor(const QModelIndex& row)
{
    // The rows of the installed applications' list only (the remains have a model of their own).
    if (scope_ != ListScope::installed || row.model() != filter_)
        return nullptr;
    const QModelIndex source = filter_->mapToSource(row.siblingAtColumn(0));
    if (source.isValid() && model_->kind(source) == AppListModel::Kind::file)
        return itemMenuFor(source);
    if (!source.isValid() || model_->kind(source) != AppListModel::Kind::app)
        return nullptr;
    const UninstallApp* app = model_->appAt(source);
    if (!app || app->isGone())
        return nullptr;
    // Protection is kept by the bundle identifier, or by the bundle's path when it has none.
    const std::string identifier = app->bundleIdentifier();
    const std::string name = !identifier.empty() ? identifier : app->bundlePath.value_or(std::string());
    if (name.empty())
        return nullptr;
    auto* menu = new QMenu(outline_);
    const bool locked = app->isProtected;
    QAction* protect = menu->addAction(locked ? tr("Unprotect") : tr("Protect"));
    // Only a protection the user gave by name can be taken back here; one that comes from an
    // excluded folder holding the bundle goes with that exclusion (in the Exclusions window).
    const auto rules = manager_->exclusions();
    protect->setEnabled(!locked || (!Exclusions::isOwnIdentifier(name) && rules && rules->protectsName(name)));
    connect(protect, &QAction::triggered, this, [this, name, locked] {
        if (locked ? ExclusionStore::unprotect(name) : ExclusionStore::protect(name))
            manager_->applyExclusions();
    });
    QAction* reset = menu->addAction(tr("Reset…"));
    reset->setEnabled(!locked && app->isReady);
    std::weak_ptr<UninstallApp> shown;
    for (const auto& listed : model_->apps())
        if (listed.get() == app)
            shown = listed;
    connect(reset, &QAction::triggered, this, [this, shown] { reset_click(shown.lock()); });
    return menu;
}

QMenu* MainViewController::itemMenuFor(const QModelIndex& source)
{
    const UninstallApp* app = model_->appAt(source);
    const UnFileItem* item = model_->fileAt(source);
    // The bundle itself is kept by protecting the application.
    if (!app || !item || (app->bundlePath && *app->bundlePath == item->filePath))
        return nullptr;
    auto* menu = new QMenu(outline_);
    QAction* never = menu->addAction(tr("Never offer this…"));
    const std::string path = item->filePath;
    const std::string identifier = app->bundleIdentifier();
    const QString appName = model_->displayName(app);
    const QString itemName = QString::fromStdString(item->fileName);
    const bool isDir = item->isDir;
    connect(never, &QAction::triggered, this, [this, path, identifier, appName, itemName, isDir] {
        auto* ask = new QMessageBox(view()->window());
        ask->setText(tr("Never offer “%1”?").arg(itemName));
        ask->setInformativeText(isDir ? tr("The folder and everything inside it are kept. Keep it for this application only, or for every application?")
                                      : tr("The file is kept. Keep it for this application only, or for every application?"));
        ask->addButton(tr("Cancel"), QMessageBox::RejectRole);
        // An application without a bundle identifier has nothing an exclusion of its own could
        // be kept under.
        QAbstractButton* only = identifier.empty() ? nullptr : ask->addButton(tr("Only for “%1”").arg(appName), QMessageBox::AcceptRole);
        QAbstractButton* every = ask->addButton(tr("For Every Application"), QMessageBox::AcceptRole);
        ask->setWindowModality(Qt::WindowModal);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        connect(ask, &QMessageBox::finished, this, [this, ask, only, every, path, identifier] {
            const QAbstractButton* clicked = ask->clickedButton();
            if (!clicked || (clicked != only && clicked != every))
                return;
            if (ExclusionStore::add(path, clicked == only ? identifier : std::string()))
                manager_->applyExclusions();
        });
        ask->open();
    });
    return menu;
}

void MainViewController::appsDidChange()
{
    // A removal began meanwhile: its screens keep the applications it was given, and the list
    // takes the catalogue's anew when it comes back (returnToList).
    if (!mainView->isVisible())
        return;
    model_->setApps(manager_->allApps());
    renewRemains();
}

void MainViewController::renewRemains()
{
    // The remains are listed once the scan has found them; until then there is nothing to renew.
    if (remainsModel_->rowCount() > 0)
        remainsModel_->setApps(manager_->goneApps());
    showRemainsCount();
}

void MainViewController::changeListedApps(const std::function<void()>& change)
{
    // The removal's screens and the sheets list records too, whether shown or not.
    QSet<AppListModel*> models;
    for (QObject* owner : {static_cast<QObject*>(this), static_cast<QObject*>(view()->window())})
        for (AppListModel* model : owner->findChildren<AppListModel*>())
            models.insert(model);
    for (AppListModel* model : models)
        model->beginRecordsChange();
    change();
    for (AppListModel* model : models)
        model->endRecordsChange();
    // The installed list keeps its applications; the remains may have lost some. While a removal
    // runs, its screens keep theirs until returnToList.
    if (mainView->isVisible())
        renewRemains();
}

bool MainViewController::isSizeSortable() const
{
    return filter_->isSizeSortable();
}

std::vector<std::shared_ptr<UninstallApp>> MainViewController::deleteApps() const
{
    return model()->chosenApps();
}
