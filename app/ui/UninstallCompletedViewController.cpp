#include "app/ui/UninstallCompletedViewController.h"

#include "app/ui/AppImages.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/UninstallCompletedDelegate.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "Auxiliary/StringExtension.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTimer>

UninstallCompletedViewController::UninstallCompletedViewController(QObject* parent) : FlowScreenController(parent) {}

UninstallCompletedViewController::~UninstallCompletedViewController() = default;

void UninstallCompletedViewController::addSubViews()
{
    QWidget* root = view();
    lbTitle = new RkLabel(strings::localized("Ostrova"), root);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    icon = new QLabel(root);
    icon->setPixmap(AppImages::named(QStringLiteral("completed_max")).pixmap(QSize(96, 96), root->devicePixelRatioF()));
    icon->setFixedSize(96, 96);
    lbCompleted = new RkLabel(strings::localized("The following App has been uninstalled."), root);
    lbCompleted->setFont(fonts::appMediumFont(22));
    lbCompleted->setAlignment(Qt::AlignCenter);
    lbCompleted->setWordWrap(true);
    list_ = std::make_unique<FlatAppList>(root, AppListModel::AppSize::bundle, 600, 100);
    list_->view()->setFixedWidth(700);

    btnCompleted = new RkFlatButton(strings::localized("Finish"), root);
    btnCompleted->setObjectName(QStringLiteral("btnCompleted"));
    btnCompleted->setFont(fonts::appFont(13));
    btnCompleted->setFixedSize(120, 32);
    btnCompleted->setCornerRadius(6);
    btnCompleted->setBorderWidth(0);
    connect(btnCompleted, &RkFlatButton::clicked, this, &UninstallCompletedViewController::completed_click);
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
    layout->addStretch(1);
    layout->addWidget(btnCompleted->makeShadowHolder(view()), 0, Qt::AlignHCenter);
}

void UninstallCompletedViewController::updateAppearance(bool isDark)
{
    paintScreenBackground(isDark);
    QPalette completed = lbCompleted->palette();
    completed.setColor(QPalette::WindowText, appearance::colorFromHex("22BF4F"));
    lbCompleted->setPalette(completed);
    btnCompleted->useAccentColors(appearance::userAccentColor());
}

void UninstallCompletedViewController::showApplications(std::vector<std::shared_ptr<UninstallApp>> apps)
{
    view();
    deleteApps = std::move(apps);
    list_->setApps(deleteApps);
}

void UninstallCompletedViewController::completed_click()
{
    QPointer<UninstallCompletedViewController> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->delegate)
            self->delegate->completed_click();
    });
}
