#include "app/ui/ExclusionsWindowController.h"

#include "app/catalogue/ExclusionStore.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/ui/AppListModel.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "platform/BundleIdentifier.h"
#include "platform/DispatchQueue.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr const char* kOwnIdentifier = "com.qzt.ostrova";
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kApplicationRole = Qt::UserRole + 2;

// A path as the list shows it: in the home folder from "~", elsewhere as the Mac names it.
QString shownPath(const std::string& path)
{
    const std::string home = SearchFilePath::realHomeDirectory();
    if (!home.empty() && (path == home || platform::path::startsWith(path, home + "/")))
        return QString::fromStdString("~" + path.substr(home.size()));
    return QString::fromStdString(path.front() == '/' ? platform::macPathOf(path) : path);
}

}  // namespace

ExclusionsWindowController::ExclusionsWindowController(std::shared_ptr<UninstallAppManager> manager, QObject* parent)
    : QObject(parent), manager_(std::move(manager))
{
    auto* dialog = new QDialog;
    window_ = dialog;
    dialog->setWindowTitle(tr("Exclusions"));
    dialog->resize(600, 380);

    auto* title = new RkLabel(tr("Exclusions"), dialog);
    title->setFont(fonts::appFont(17));
    auto* explanation = new RkLabel(tr("Ostrova never offers these items and never removes or resets these applications."), dialog);
    explanation->setWordWrap(true);
    list = new QTreeWidget(dialog);
    list->setColumnCount(2);
    list->setHeaderLabels({tr("Item"), tr("Applies to")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setAlternatingRowColors(true);
    list->setTextElideMode(Qt::ElideMiddle);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(kItemColumn, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(kAppliesColumn, QHeaderView::ResizeToContents);
    list->setAccessibleName(tr("Excluded items and protected applications"));
    lbDropped = new RkLabel(QString(), dialog);
    lbDropped->setObjectName(QStringLiteral("lbDropped"));
    lbDropped->setWordWrap(true);
    btnRemove = new QPushButton(tr("Remove"), dialog);
    btnRemove->setEnabled(false);
    btnDone = new QPushButton(tr("Done"), dialog);
    btnDone->setDefault(true);
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this] { btnRemove->setEnabled(!list->selectedItems().isEmpty()); });
    connect(btnRemove, &QPushButton::clicked, this, &ExclusionsWindowController::remove_click);
    connect(btnDone, &QPushButton::clicked, dialog, &QDialog::accept);

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addWidget(list, 1);
    layout->addWidget(lbDropped);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRemove);
    buttons->addStretch(1);
    buttons->addWidget(btnDone);
    layout->addLayout(buttons);
    updateAppearance();
    reload();
}

ExclusionsWindowController::~ExclusionsWindowController()
{
    delete window_;
}

QString ExclusionsWindowController::applicationName(const std::string& identifierOrBundle) const
{
    const bool isPath = Exclusions::isPathName(identifierOrBundle);
    for (const auto& app : manager_->allApps()) {
        const bool same = isPath ? app->bundlePath && platform::path::standardize(*app->bundlePath) ==
                                                          platform::path::standardize(platform::path::expandTilde(identifierOrBundle))
                                 : BundleIdentifier::same(app->bundleIdentifier(), identifierOrBundle);
        if (same)
            return AppListModel::nameWithoutExtension(QString::fromStdString(app->displayName()));
    }
    return QString::fromStdString(identifierOrBundle);
}

void ExclusionsWindowController::reload()
{
    std::vector<std::string> dropped;
    const Exclusions stored = ExclusionStore::load(&dropped);
    list->clear();
    const auto add = [this](const QString& item, const QString& appliesTo, const std::string& entry, Kind kind, bool removable,
                            const std::string& application = {}) {
        auto* row = new QTreeWidgetItem(list, {item, appliesTo});
        row->setToolTip(kItemColumn, QString::fromStdString(entry));
        row->setData(kItemColumn, Qt::UserRole, QString::fromStdString(entry));
        row->setData(kItemColumn, kKindRole, static_cast<int>(kind));
        row->setData(kItemColumn, kApplicationRole, QString::fromStdString(application));
        // Shown dimmed: there is nothing to do with it.
        if (!removable)
            row->setFlags(row->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
    };
    for (const auto& excluded : stored.paths())
        add(shownPath(excluded.path),
            excluded.application.empty() ? tr("Every application") : applicationName(excluded.application), excluded.path,
            Kind::path, true, excluded.application);
    // Ostrova itself is protected whatever the store says.
    add(tr("Ostrova"), tr("Protected, always"), kOwnIdentifier, Kind::protectedApplication, false);
    for (const auto& name : stored.protectedApplications()) {
        if (BundleIdentifier::same(name, kOwnIdentifier))
            continue;
        const bool own = Exclusions::isOwnIdentifier(name);
        add(applicationName(name), own ? tr("Protected, always") : tr("Protected application"), name, Kind::protectedApplication, !own);
    }
    const int count = static_cast<int>(dropped.size());
    lbDropped->setStringValue(count > 0 ? tr("%n entries of the stored exclusions could not be read and were left out.", nullptr, count)
                                        : QString());
    lbDropped->setVisible(count > 0);
    btnRemove->setEnabled(false);
}

void ExclusionsWindowController::remove_click()
{
    bool pathsGone = false, changed = false;
    for (const QTreeWidgetItem* row : list->selectedItems()) {
        const std::string entry = row->data(kItemColumn, Qt::UserRole).toString().toStdString();
        if (static_cast<Kind>(row->data(kItemColumn, kKindRole).toInt()) == Kind::path) {
            // That row only: the same path may be kept out for other applications too.
            const bool removed =
                ExclusionStore::remove(entry, row->data(kItemColumn, kApplicationRole).toString().toStdString());
            pathsGone = pathsGone || removed;
            changed = changed || removed;
        } else {
            changed = ExclusionStore::unprotect(entry) || changed;
        }
    }
    reload();
    if (!changed)
        return;
    QPointer<ExclusionsWindowController> self(this);
    manager_->applyExclusions([self, pathsGone] {
        dispatch::MainQueue::async([self, pathsGone] {
            if (self && pathsGone)
                emit self->pathsRemoved();
        });
    });
}

void ExclusionsWindowController::beginSheet(QWidget* parent)
{
    window_->setParent(parent, window_->windowFlags() | Qt::Sheet);
    window_->setWindowModality(Qt::WindowModal);
    window_->open();
}

void ExclusionsWindowController::updateAppearance()
{
    QPalette palette = window_->palette();
    const bool dark = appearance::isDark();
    palette.setColor(QPalette::Window, dark ? appearance::colorFromHex("2F2F2D") : QColor(Qt::white));
    palette.setColor(QPalette::AlternateBase, dark ? appearance::colorFromHex("FFFFFF", 0.04) : appearance::colorFromHex("F4F5F5"));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
}
