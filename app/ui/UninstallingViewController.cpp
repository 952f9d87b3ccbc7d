#include "app/ui/UninstallingViewController.h"

#include "app/ui/FlatAppList.h"
#include "app/ui/NSOutlineViewEx.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kProgressSteps = 1000;
}

UninstallingViewController::UninstallingViewController(QObject* parent) : FlowScreenController(parent) {}

UninstallingViewController::~UninstallingViewController() = default;

void UninstallingViewController::addSubViews()
{
    QWidget* root = view();
    lbTitle = new RkLabel(tr("Ostrova"), root);
    lbTitle->setFont(fonts::appFont(13));
    lbTitle->setAlignment(Qt::AlignCenter);
    progress = new QProgressBar(root);
    progress->setRange(0, kProgressSteps);
    progress->setTextVisible(false);
    progress->setFixedWidth(420);
    lbUninstall = new RkLabel(root);
    lbUninstall->setFont(fonts::appFont(22));
    lbUninstall->setAlignment(Qt::AlignCenter);
    btnCancel = new QPushButton(tr("Cancel"), root);
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        btnCancel->setEnabled(false);
        btnCancel->setText(tr("Cancelling..."));
    });
    list_ = std::make_unique<FlatAppList>(root, AppListModel::AppSize::ticked, 500, 100);
    list_->view()->setFixedWidth(600);
}

void UninstallingViewController::addConstraints()
{
    auto* layout = new QVBoxLayout(view());
    layout->setContentsMargins(20, 8, 20, 20);
    layout->addWidget(lbTitle);
    layout->addStretch(2);
    layout->addWidget(lbUninstall, 0, Qt::AlignHCenter);
    layout->addSpacing(24);
    layout->addWidget(progress, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(btnCancel, 0, Qt::AlignHCenter);
    layout->addSpacing(18);
    layout->addWidget(list_->view(), 0, Qt::AlignHCenter);
    layout->addStretch(3);
}

void UninstallingViewController::updateAppearance(bool isDark)
{
    paintScreenBackground(isDark);
}

void UninstallingViewController::rebuild()
{
    view();
    setValue(0);
    btnCancel->setEnabled(true);
    btnCancel->setText(tr("Cancel"));
    list_->setApps(deleteApps);
    const int count = static_cast<int>(deleteApps.size());
    const bool remains = std::all_of(deleteApps.begin(), deleteApps.end(), [](const auto& app) { return app->isGone(); });
    if (isReset)
        lbUninstall->setStringValue(tr("Resetting %n application(s)…", nullptr, count));
    else
        lbUninstall->setStringValue(remains ? tr("Removing the remains of %n application(s)…", nullptr, count)
                                        : tr("Uninstalling %n application(s)…", nullptr, count));
}

void UninstallingViewController::setValue(double fraction)
{
    value = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    progress->setValue(static_cast<int>(std::lround(value * kProgressSteps)));
}
