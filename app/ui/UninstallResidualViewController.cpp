#include "app/ui/UninstallResidualViewController.h"

#include "app/ui/AppImages.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/UninstallResidualView.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

UninstallResidualViewController::UninstallResidualViewController(QObject* parent)
    : UninstallCompletedViewController(parent)
{
}

void UninstallResidualViewController::addSubViews()
{
    UninstallCompletedViewController::addSubViews();
    QWidget* root = view();
    lbCompleted->setStringValue(tr("Some apps were not completely uninstalled, residual files left"));
    icon->hide();
    // The list of applications stays for its sizes but the outline below shows the same rows.
    list()->view()->hide();
    lbtip = new RkLabel(tr("Please manually delete the residual files."), root);
    lbtip->setFont(fonts::appFont(17));
    lbtip->setWordWrap(true);
    lbtip->setAlignment(Qt::AlignCenter);
    lbResidual = new RkLabel(tr("The following App has uninstallation's leftover files."), root);
    lbResidual->setFont(fonts::appBoldFont(22));
    lbResidual->hide();
    icon2 = new QLabel(root);
    icon2->setFixedSize(64, 64);
    uninstatllResidualView = BaseView::make<UninstallResidualView>(root);
    uninstatllResidualView->setMinimumHeight(150);
}

void UninstallResidualViewController::addConstraints()
{
    UninstallCompletedViewController::addConstraints();
    auto* layout = static_cast<QVBoxLayout*>(view()->layout());
    // The trash above the title, where the completed screen has its tick.
    layout->insertWidget(layout->indexOf(icon) + 1, icon2, 0, Qt::AlignHCenter);
    contentLayout->insertWidget(0, lbtip);
    contentLayout->addWidget(uninstatllResidualView, 1);
    layout->setStretch(layout->indexOf(contentLayout), 1);
}

void UninstallResidualViewController::updateAppearance(bool isDark)
{
    UninstallCompletedViewController::updateAppearance(isDark);
    QPalette tip = lbtip->palette();
    tip.setColor(QPalette::WindowText, isDark ? appearance::colorFromHex("FFFFFF") : appearance::colorFromHex("4D4D4D"));
    lbtip->setPalette(tip);
    const QString image = isDark ? QStringLiteral("trash2") : QStringLiteral("trash2_dark");
    icon2->setPixmap(AppImages::named(image).pixmap(QSize(64, 64), view()->devicePixelRatioF()));
    QPalette title = lbCompleted->palette();
    title.setColor(QPalette::WindowText, appearance::colorFromHex("FF9500"));
    lbCompleted->setPalette(title);
}

void UninstallResidualViewController::showApplications(std::vector<std::shared_ptr<UninstallApp>> apps)
{
    view();
    // Only what something is left of: an application removed whole has nothing to show here.
    std::vector<std::shared_ptr<UninstallApp>> withLeftovers;
    std::copy_if(apps.begin(), apps.end(), std::back_inserter(withLeftovers), [](const auto& app) { return !app->fileGroups.empty(); });
    uninstatllResidualView->showExpanded(std::move(withLeftovers), isReset);
    UninstallCompletedViewController::showApplications(std::move(apps));
    lbCompleted->setStringValue(isReset ? tr("Some data of the reset applications was left")
                                        : tr("Some apps were not completely uninstalled, residual files left"));
}
