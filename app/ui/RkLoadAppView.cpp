#include "app/ui/RkLoadAppView.h"

#include "app/ui/SpinnerView.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/RkLabel.h"

#include <QVBoxLayout>

RkLoadAppView::RkLoadAppView(QWidget* parent) : BaseView(parent) {}

void RkLoadAppView::addSubViews()
{
    lbTitle = new RkLabel(tr("Ostrova"), this);
    lbTitle->setFont(fonts::appSemiBoldFont(20));
    lbTitle->setAlignment(Qt::AlignCenter);
    spinner = new SpinnerView(this);
    spinner->setFixedSize(32, 32);
    spinner->startAnimation();
    lbMessage = new RkLabel(tr("Please wait, searching..."), this);
    lbMessage->setFont(fonts::appFont(13));
    lbMessage->setAlignment(Qt::AlignCenter);
}

void RkLoadAppView::addConstraints()
{
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(lbTitle, 0, Qt::AlignHCenter);
    layout->addSpacing(24);
    layout->addWidget(spinner, 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(lbMessage, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}
