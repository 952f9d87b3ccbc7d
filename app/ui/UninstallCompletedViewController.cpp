#include "app/ui/UninstallCompletedViewController.h"

#include "app/ui/AppImages.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/UninstallCompletedDelegate.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "platform/Localization.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTimer>

UninstallCompletedViewController::UninstallCompletedViewController(QObject* parent) : FlowScreenController(parent) {}

UninstallCompletedViewController::~UninstallCompletedViewController() = default;

void UninstallCompletedViewController::addSubViews()
{
    QWidget* root = view();
    lbTitle = new RkLabel(QString::fromStdString(platform::localized("Ostrova")), root);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    icon = new QLabel(root);
    icon->setPixmap(AppImages::named(QStringLiteral("completed_max")).pixmap(QSize(96, 96), root->devicePixelRatioF()));
    icon->setFixedSize(96, 96);
    lbCompleted = new RkLabel(QString::fromStdString(platform::localized("The following App has been uninstalled.")), root);
    lbCompleted->setFont(fonts::appMediumFont(22));
    lbCompleted->setAlignment(Qt::AlignCenter);
    lbCompleted->setWordWrap(true);
    list_ = std::make_unique<FlatAppList>(root, AppListModel::AppSize::bundle, 600, 100);
    list_->view()->setFixedWidth(700);

    btnCompleted = new RkFlatButton(QString::fromStdString(platform::localized("Finish")), root);
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
    // The button's own effect dims it on hover; its shadow lives on a holder.
    auto* holder = new QWidget(view());
    auto* shadow = new QGraphicsDropShadowEffect(holder);
    shadow->setColor(QColor(0, 0, 0, 128));
    shadow->setOffset(0, 1.5);
    shadow->setBlurRadius(2);
    holder->setGraphicsEffect(shadow);
    auto* holderLayout = new QHBoxLayout(holder);
    holderLayout->setContentsMargins(3, 3, 3, 3);
    btnCompleted->setParent(holder);
    holderLayout->addWidget(btnCompleted);
    layout->addWidget(holder, 0, Qt::AlignHCenter);
}

void UninstallCompletedViewController::updateAppearance(bool isDark)
{
    QPalette palette = view()->palette();
    palette.setColor(QPalette::Window, isDark ? appearance::colorFromHex("2F2F2D") : QColor(Qt::white));
    palette.setColor(QPalette::WindowText, isDark ? QColor(Qt::white) : appearance::colorFromHex("333333"));
    view()->setPalette(palette);
    view()->setAutoFillBackground(true);
    QPalette completed = lbCompleted->palette();
    completed.setColor(QPalette::WindowText, appearance::colorFromHex("22BF4F"));
    lbCompleted->setPalette(completed);
    const QColor accent = appearance::userAccentColor();
    btnCompleted->setButtonColor(accent);
    btnCompleted->setActiveButtonColor(accent.darker(120));
    btnCompleted->setBorderColor(accent);
    btnCompleted->setActiveBorderColor(accent.darker(120));
    btnCompleted->setTextColor(Qt::white);
    btnCompleted->setActiveTextColor(Qt::white);
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
