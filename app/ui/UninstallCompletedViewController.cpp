#include "app/ui/UninstallCompletedViewController.h"

#include "app/ui/AppImages.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/UninstallCompletedDelegate.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/ByteCountText.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <algorithm>

UninstallCompletedViewController::UninstallCompletedViewController(QObject* parent) : FlowScreenController(parent) {}

UninstallCompletedViewController::~UninstallCompletedViewController() = default;

void UninstallCompletedViewController::addSubViews()
{
    QWidget* root = view();
    lbTitle = new RkLabel(tr("Ostrova"), root);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    icon = new QLabel(root);
    icon->setPixmap(AppImages::named(QStringLiteral("completed_max")).pixmap(QSize(96, 96), root->devicePixelRatioF()));
    icon->setFixedSize(96, 96);
    lbCompleted = new RkLabel(root);
    lbCompleted->setFont(fonts::appMediumFont(22));
    lbCompleted->setAlignment(Qt::AlignCenter);
    lbCompleted->setWordWrap(true);
    list_ = std::make_unique<FlatAppList>(root, AppListModel::AppSize::removed, 600, 100);
    list_->view()->setFixedWidth(700);

    btnCompleted = new RkFlatButton(tr("Finish"), root);
    btnCompleted->setObjectName(QStringLiteral("btnCompleted"));
    btnCompleted->setFont(fonts::appFont(13));
    btnCompleted->setFixedSize(120, 32);
    btnCompleted->setCornerRadius(6);
    btnCompleted->setBorderWidth(0);
    connect(btnCompleted, &RkFlatButton::clicked, this, &UninstallCompletedViewController::completed_click);

    lbTrash = new RkLabel(QString(), root);
    lbTrash->setFont(fonts::appFont(13));
    lbTrash->setAlignment(Qt::AlignCenter);
    lbTrash->setWordWrap(true);
    lbTrash->hide();
    btnPutBack = new RkFlatButton(tr("Put Back"), root);
    btnPutBack->setObjectName(QStringLiteral("btnPutBack"));
    btnPutBack->setFont(fonts::appFont(13));
    btnPutBack->setFixedSize(120, 32);
    btnPutBack->setCornerRadius(6);
    btnPutBack->setBorderWidth(1);
    connect(btnPutBack, &RkFlatButton::clicked, this, &UninstallCompletedViewController::putBack_click);
    // Command-Z puts the removal back, Return finishes.
    auto* undo = new QAction(tr("Put Back"), root);
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QAction::triggered, this, [this] {
        if (btnPutBack->isVisible() && btnPutBack->isEnabled())
            putBack_click();
    });
    root->addAction(undo);
    auto* finish = new QAction(tr("Finish"), root);
    finish->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    finish->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(finish, &QAction::triggered, this, [this] {
        if (btnCompleted->isVisible() && btnCompleted->isEnabled())
            completed_click();
    });
    root->addAction(finish);
    btnPutBack->setAccessibleName(tr("Put Back: return everything to where it was"));
    btnCompleted->setAccessibleName(tr("Finish and return to the list"));
}

void UninstallCompletedViewController::addConstraints()
{
    auto* layout = new QVBoxLayout(view());
    layout->setContentsMargins(20, 8, 20, 20);
    layout->setSpacing(0);
    layout->addWidget(lbTitle);
    layout->addStretch(1);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(lbCompleted);
    layout->addSpacing(20);
    contentLayout = new QVBoxLayout;
    contentLayout->setSpacing(12);
    contentLayout->addWidget(list_->view(), 0, Qt::AlignHCenter);
    layout->addLayout(contentLayout);
    layout->addSpacing(12);
    layout->addWidget(lbTrash);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    buttons->addStretch(1);
    putBackHolder_ = btnPutBack->makeShadowHolder(view());
    putBackHolder_->hide();
    buttons->addWidget(putBackHolder_);
    buttons->addWidget(btnCompleted->makeShadowHolder(view()));
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void UninstallCompletedViewController::updateAppearance(bool isDark)
{
    paintScreenBackground(isDark);
    QPalette completed = lbCompleted->palette();
    completed.setColor(QPalette::WindowText, appearance::colorFromHex("22BF4F"));
    lbCompleted->setPalette(completed);
    btnCompleted->useAccentColors(appearance::userAccentColor());
    // Beside Finish, the secondary choice: outlined, no fill.
    using appearance::colorFromHex;
    btnPutBack->setButtonColor(colorFromHex("000000", 0.0));
    btnPutBack->setActiveButtonColor(isDark ? colorFromHex("FFFFFF", 0.12) : colorFromHex("000000", 0.06));
    btnPutBack->setBorderColor(isDark ? colorFromHex("FFFFFF", 0.25) : colorFromHex("CFCFCF"));
    btnPutBack->setActiveBorderColor(isDark ? colorFromHex("FFFFFF", 0.25) : colorFromHex("CFCFCF"));
    btnPutBack->setTextColor(isDark ? colorFromHex("FFFFFF") : colorFromHex("404040"));
    btnPutBack->setActiveTextColor(isDark ? colorFromHex("FFFFFF") : colorFromHex("404040"));
    QPalette trash = lbTrash->palette();
    trash.setColor(QPalette::WindowText, isDark ? colorFromHex("FFFFFF", 0.7) : colorFromHex("666666"));
    lbTrash->setPalette(trash);
}

void UninstallCompletedViewController::showApplications(std::vector<std::shared_ptr<UninstallApp>> apps)
{
    view();
    deleteApps = std::move(apps);
    list_->setApps(deleteApps);
    const int count = static_cast<int>(deleteApps.size());
    const bool remains = std::all_of(deleteApps.begin(), deleteApps.end(), [](const auto& app) { return app->isGone(); });
    if (isReset)
        lbCompleted->setStringValue(tr("The following application(s) have been reset. They stay installed.", nullptr, count));
    else
        lbCompleted->setStringValue(remains ? tr("The remains of the following application(s) have been removed.", nullptr, count)
                                        : tr("The following application(s) have been uninstalled.", nullptr, count));
}

void UninstallCompletedViewController::showRemoval(std::optional<RemovalRecord> record)
{
    view();
    removal_ = std::move(record);
    const bool inTrash = removal_ && removal_->countInTrash() > 0;
    const bool refused = removal_ && removal_->administratorRightRefused;
    QString refusal =
        refused ? tr("An administrator's password was not given, so what lies outside your home folder was left.") : QString();
    // Remains that were no longer what was judged when the removal came to them stayed.
    if (removal_ && !removal_->leftAsInstalled.empty())
        refusal += (refusal.isEmpty() ? QString() : QStringLiteral(" ")) +
                   tr("%n item(s) left, as an application with the same identifier is installed again.", nullptr,
                      static_cast<int>(removal_->leftAsInstalled.size()));
    if (removal_ && !removal_->leftAsReplaced.empty())
        refusal += (refusal.isEmpty() ? QString() : QStringLiteral(" ")) +
                   tr("%n item(s) left, as another file now lies in their place.", nullptr,
                      static_cast<int>(removal_->leftAsReplaced.size()));
    if (inTrash) {
        const QString size = localizedByteCount(removal_->bytesInTrash());
        QString text = tr("Moved %1 to the Trash. Empty the Trash to free the space.").arg(size);
        // Put Back here works from the record in memory; once Ostrova quits, only a written one can.
        if (!removal_->saved)
            text += QLatin1Char(' ') + tr("The record of this removal could not be written: Put Back works only until Ostrova quits.");
        lbTrash->setStringValue(refusal.isEmpty() ? text : text + QLatin1Char(' ') + refusal);
    } else {
        lbTrash->setStringValue(refusal);
    }
    lbTrash->setVisible(inTrash || !refusal.isEmpty());
    putBackHolder_->setVisible(inTrash);
    setPuttingBack(false);
}

void UninstallCompletedViewController::setPuttingBack(bool running)
{
    view();
    btnPutBack->setEnabled(!running);
    btnCompleted->setEnabled(!running);
}

void UninstallCompletedViewController::putBack_click()
{
    if (!removal_ || !delegate || !btnPutBack->isEnabled())
        return;
    setPuttingBack(true);
    delegate->putBack_click(*removal_);
}

void UninstallCompletedViewController::completed_click()
{
    QPointer<UninstallCompletedViewController> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->delegate)
            self->delegate->completed_click();
    });
}
