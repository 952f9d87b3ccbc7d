#include "app/ui/MainViewController.h"

#include "app/ui/AppListModel.h"
#include "app/ui/MainViewDelegateBridge.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
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
#include "Auxiliary/RkLabel.h"
#include "Auxiliary/ViewHelpers.h"
#include "platform/Bundle.h"
#include "platform/DispatchQueue.h"
#include "platform/Localization.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"
#include "platform/qt/FileViewer.h"
#include "system/Utility.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPushButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localizedText(const char* english)
{
    return QString::fromStdString(platform::localized(english));
}

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
    : BaseViewController(parent), manager_(std::move(manager)), bridge_(std::make_shared<MainViewDelegateBridge>(this))
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
    model_ = new AppListModel(&apps, this);
    std::vector<TableColumn> columns{
        views::makeTableColumn(localizedText("Name"), kNameColumnId, 500),
        views::makeTableColumn(localizedText("Size"), kSizeColumnId, 150),
        views::makeTableColumn(localizedText("Recently used"), kDateColumnId, 150),
    };
    model_->setColumns(columns);
    outline_->setModel(model_);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        outline_->setColumnWidth(i, columns[i].width);
    outline_->setAutosaveTableColumns(QStringLiteral("com.uninstaller.outline"));
    views::makeScrollView(outline_, this);

    QHeaderView* header = outline_->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &MainViewController::sortDescriptorsDidChange);
    connect(outline_, &NSOutlineViewEx::rowClicked, this, &MainViewController::shouldSelectItem);
    connect(outline_->rowDelegate(), &OutlineRowDelegate::checkClicked, this, &MainViewController::onCheckClicked);
    connect(outline_->rowDelegate(), &OutlineRowDelegate::revealClicked, this,
            [this](const QModelIndex& index) { look_click(model_->fileAt(index)); });

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
    lbTitle = new RkLabel(localizedText("Ostrova"), mainView);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    lbAllProgram = new RkLabel(localizedText("All applications"), mainView);
    lbAllProgram->setFont(fonts::appMediumFont(15));
    lbSelected = new RkLabel(QString(), mainView);
    lbSelected->setFont(fonts::appMediumFont(15));

    searchField = new QLineEdit(mainView);
    searchField->setPlaceholderText(localizedText("Search"));
    searchField->setClearButtonEnabled(true);
    searchField->setFixedWidth(220);
    searchField->setEnabled(false);
    connect(searchField, &QLineEdit::textChanged, this, &MainViewController::controlTextDidChange);
    connect(searchField, &QLineEdit::returnPressed, this, &MainViewController::search_click);

    outlineView()->setParent(mainView);
    line = new QWidget(mainView);
    line->setFixedHeight(1);

    btnUnistall = new RkFlatButton(localizedText("Uninstall"), mainView);
    btnUnistall->setFont(fonts::appFont(13));
    btnUnistall->setFixedSize(120, 32);
    btnUnistall->setCornerRadius(6);
    btnUnistall->setBorderWidth(0);
    btnUnistall->makeShadowHolder(mainView)->setObjectName(QStringLiteral("uninstallHolder"));
    connect(btnUnistall, &RkFlatButton::clicked, this, &MainViewController::uninstall_click);

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

    manager_->delegate = bridge_;
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
    top->addWidget(searchField);
    list->addLayout(top);
    list->addWidget(outline_, 1);
    list->addWidget(line);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(20, 10, 17, 12);
    bottom->addWidget(lbSelected);
    bottom->addStretch(1);
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

    QPalette list = outline_->palette();
    list.setColor(QPalette::Base, colorFromHex("000000", 0.001));
    list.setColor(QPalette::AlternateBase, isDark ? colorFromHex("FFFFFF", 0.04) : colorFromHex("F4F5F5"));
    list.setColor(QPalette::Text, isDark ? colorFromHex("FFFFFF") : colorFromHex("262626"));
    list.setColor(QPalette::Disabled, QPalette::Text, isDark ? colorFromHex("8C8C8C") : colorFromHex("9A9A9A"));
    outline_->setPalette(list);

    btnUnistall->useAccentColors(appearance::userAccentColor());
}

void MainViewController::appsDidLoad()
{
    loadAppView->spinner->stopAnimation();
    loadAppView->hide();
    mainView->show();
    apps = manager_->allApps;
    reloadOutline();
    const bool scanning = std::any_of(apps.begin(), apps.end(), [](const auto& app) { return !app->isReady; });
    if (scanning && !allScanned_)
        spinnerTimer_->start();
}

void MainViewController::appDidScan(const std::shared_ptr<UninstallApp>& app)
{
    if (model_)
        model_->appDidScan(app.get());
}

void MainViewController::allAppsDidScan()
{
    allScanned_ = true;
    spinnerTimer_->stop();
    searchField->setEnabled(true);
    searchField->setFocus();
    outline_->viewport()->update();
}

void MainViewController::uninstallProgress(UninstallType state, double value, double total)
{
    uninstallingViewController->setValue(total > 0 ? value / total : 0);
    if (state != eDeleteCompleted)
        return;
    uninstallingViewController->setScreenHidden(true);
    const bool leftovers = std::any_of(deleteApps.begin(), deleteApps.end(), [](const auto& app) { return !app->fileGroups.empty(); });
    uninstallCompletedViewController->setScreenHidden(leftovers);
    uninstallResidualViewController->setScreenHidden(!leftovers);
    if (leftovers)
        uninstallResidualViewController->showApplications(deleteApps);
    else
        uninstallCompletedViewController->showApplications(deleteApps);
}

void MainViewController::askForceQuit(const std::shared_ptr<UninstallApp>& app, std::function<void(bool)> answer)
{
    QWidget* window = isViewLoaded() ? view()->window() : nullptr;
    if (!window || !window->isVisible()) {
        answer(false);
        return;
    }
    auto* alert = new QMessageBox(window);
    alert->setInformativeText(localizedText("Force quit may result in loss of data being edited"));
    alert->setText(localizedText("%@ is running, do you want to force quit?").replace(QLatin1String("%@"), model_->displayName(app.get())));
    QAbstractButton* cancel = alert->addButton(localizedText("Cancel"), QMessageBox::RejectRole);
    alert->addButton(localizedText("Force quit"), QMessageBox::AcceptRole);
    const QIcon icon = model_->data(model_->indexOfApp(app.get()), Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull())
        alert->setIconPixmap(icon.pixmap(QSize(64, 64), window->devicePixelRatioF()));
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

void MainViewController::reloadOutline()
{
    model_->reload();
}

void MainViewController::reloadAppLater(UninstallApp* app)
{
    const std::weak_ptr<UninstallApp> weak = [&]() -> std::weak_ptr<UninstallApp> {
        for (const auto& candidate : manager_->allApps) {
            if (candidate.get() == app)
                return candidate;
        }
        return {};
    }();
    QPointer<MainViewController> self(this);
    QTimer::singleShot(0, this, [self, weak] {
        if (const auto strong = weak.lock(); self && strong)
            self->model_->reloadApp(strong.get());
    });
}

void MainViewController::filterApps(const QString& text)
{
    if (text.isEmpty()) {
        apps = manager_->allApps;
    } else {
        const QString needle = text.toLower();
        apps.clear();
        for (const auto& app : manager_->allApps) {
            if (model_->displayName(app.get()).toLower().contains(needle))
                apps.push_back(app);
        }
    }
    reloadOutline();
}

void MainViewController::controlTextDidChange(const QString& text)
{
    filterApps(text);
}

void MainViewController::search_click()
{
    if (!searchField->text().isEmpty())
        filterApps(searchField->text());
}

void MainViewController::showAlert(const QString& message)
{
    auto* alert = new QMessageBox(view()->window());
    alert->setText(message);
    alert->addButton(localizedText("Ok"), QMessageBox::AcceptRole);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    views::setFocusRingType(alert, Qt::NoFocus);
    alert_ = alert;
    alert->open();
}

void MainViewController::uninstall_click()
{
    if (deleteApps.empty()) {
        showAlert(localizedText("Please select the file to delete"));
        return;
    }
    const std::string applications = platform::fixedPath("/Applications") + "/";
    if (!platform::path::startsWith(applicationBundlePath, applications) && !Utility::isSandboxed()) {
        showAlert(localizedText("The application is not installed in the /Applications directory. To ensure full "
                     "functionality, please move the application to that directory."));
        return;
    }
    requestUninstallWinodowController.reset();
    requestUninstallWinodowController = std::make_unique<RequestUninstallWinodowController>(deleteApps);
    QPointer<MainViewController> self(this);
    requestUninstallWinodowController->beginSheet(view()->window(), [self](int code) {
        if (self && code == 1)
            self->beginRemoval();
    });
}

void MainViewController::beginRemoval()
{
    if (!Utility::isSandboxed())
        DaemonInstaller(applicationBundlePath).ensureDaemon();
    uninstallingViewController->deleteApps = deleteApps;
    uninstallingViewController->rebuild();
    mainView->hide();
    uninstallingViewController->setScreenHidden(false);
    manager_->removeApps(deleteApps);
}

void MainViewController::onCheckClicked(const QModelIndex& index)
{
    switch (model_->kind(index)) {
    case AppListModel::Kind::app: selected_click(model_->appAt(index)); break;
    case AppListModel::Kind::group: check_click(model_->groupAt(index)); break;
    case AppListModel::Kind::file: {
        UnFileItem* item = model_->fileAt(index);
        fileChecked(item, item->isSelected ? kSelectionOff : kSelectionOn);
        break;
    }
    }
}

void MainViewController::selected_click(UninstallApp* app)
{
    if (!app || !app->isReady)
        return;
    // The box cycles on, off, mixed; a mixed state counts as on.
    const int state = app->selectionState() == kSelectionOn ? kSelectionOff : kSelectionOn;
    app->setSelectionState(state);
    updateDeleteApps(app);
    reloadAppLater(app);
}

void MainViewController::check_click(UnFileGroup* group)
{
    if (!group)
        return;
    const int state = group->selectionState() == kSelectionOn ? kSelectionOff : kSelectionOn;
    group->setSelectionState(state);
    const auto app = group->app.lock();
    if (!app)
        return;
    updateDeleteApps(app.get());
    reloadAppLater(app.get());
}

void MainViewController::fileChecked(UnFileItem* item, int state)
{
    if (!item)
        return;
    item->isSelected = state == kSelectionOn;
    const auto group = item->group.lock();
    const auto app = group ? group->app.lock() : nullptr;
    if (!app)
        return;
    updateDeleteApps(app.get());
    reloadAppLater(app.get());
}

void MainViewController::look_click(UnFileItem* item)
{
    if (item)
        platform::FileViewer::activateFileViewerSelecting({QString::fromStdString(item->filePath)});
}

void MainViewController::updateDeleteApps(UninstallApp* app)
{
    if (app->selectionState() == kSelectionOff) {
        const auto chosen = std::find_if(deleteApps.begin(), deleteApps.end(),
                                         [&](const auto& entry) { return entry->identifier == app->identifier; });
        if (chosen != deleteApps.end())
            deleteApps.erase(chosen);
    } else {
        const bool present = std::any_of(deleteApps.begin(), deleteApps.end(),
                                         [&](const auto& entry) { return entry->identifier == app->identifier; });
        if (!present) {
            for (const auto& candidate : manager_->allApps) {
                if (candidate.get() == app) {
                    deleteApps.push_back(candidate);
                    break;
                }
            }
        }
    }
    lbSelected->setStringValue(deleteApps.empty()
                                   ? QString()
                                   : localizedText("%d application(s) selected").replace(QLatin1String("%d"), QString::number(deleteApps.size())));
}

void MainViewController::sortDescriptorsDidChange(int column, Qt::SortOrder order)
{
    QHeaderView* header = outline_->header();
    if (column < 0 || column >= static_cast<int>(model_->columns().size()))
        return;
    const QString key = model_->columns()[column].identifier;
    if (key == kSizeColumnId && !allScanned_) {
        // Sizes are not known yet: the header keeps what it showed.
        const QSignalBlocker block(header);
        header->setSortIndicator(sortColumn_, sortOrder_);
        return;
    }
    if (column != sortColumn_ && order != Qt::AscendingOrder) {
        // A column sorts ascending first.
        order = Qt::AscendingOrder;
        const QSignalBlocker block(header);
        header->setSortIndicator(column, order);
    }
    sortColumn_ = column;
    sortOrder_ = order;
    const bool ascending = order == Qt::AscendingOrder;
    auto sortBy = [&](auto less) {
        std::stable_sort(apps.begin(), apps.end(), [&](const auto& a, const auto& b) {
            return ascending ? less(*a, *b) : less(*b, *a);
        });
    };
    if (key == kNameColumnId)
        sortBy([this](const UninstallApp& a, const UninstallApp& b) { return model_->displayName(&a) < model_->displayName(&b); });
    else if (key == kSizeColumnId)
        sortBy([](const UninstallApp& a, const UninstallApp& b) { return a.totalSize < b.totalSize; });
    else
        sortBy([](const UninstallApp& a, const UninstallApp& b) { return a.lastUsed < b.lastUsed; });
    model_->reorder();
}

bool MainViewController::shouldSelectItem(const QModelIndex& index)
{
    if (!index.isValid())
        return false;
    const QModelIndex row = index.siblingAtColumn(0);
    if (model_->kind(row) != AppListModel::Kind::file && model_->hasChildren(row))
        outline_->setExpanded(row, !outline_->isExpanded(row));
    return false;
}

void MainViewController::completed_click()
{
    returnToList();
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
    const std::string wanted = platform::path::standardize(bundlePath);
    for (const auto& app : manager_->allApps) {
        if (!app->bundlePath || platform::path::standardize(*app->bundlePath) != wanted)
            continue;
        if (!app->isReady)
            return false;
        if (app->selectionState() != kSelectionOn) {
            app->setSelectionState(kSelectionOn);
            updateDeleteApps(app.get());
        }
        model_->reloadApp(app.get());
        const QModelIndex row = model_->indexOfApp(app.get());
        if (row.isValid())
            outline_->scrollTo(row);
        return true;
    }
    return false;
}

void MainViewController::returnToList()
{
    // Every application, not only those a search left on screen: a chosen one may be hidden.
    for (const auto& app : manager_->allApps) {
        app->setSelectionState(kSelectionOff);
        app->removeMissingFiles();
    }
    {
        const QSignalBlocker block(searchField);
        searchField->clear();
    }
    auto& all = manager_->allApps;
    all.erase(std::remove_if(all.begin(), all.end(), [](const auto& app) { return app->fileGroups.empty() && app->isReady; }),
              all.end());
    apps = all;
    deleteApps.clear();
    lbSelected->setStringValue(QString());

    mainView->show();
    uninstallResidualViewController->setScreenHidden(true);
    uninstallCompletedViewController->setScreenHidden(true);
    reloadOutline();
}
