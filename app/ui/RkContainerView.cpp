#include "app/ui/RkContainerView.h"

#include "app/ui/AppImages.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "platform/qt/FileViewer.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>

RkContainerView::RkContainerView(QWidget* parent) : BaseView(parent) {}

void RkContainerView::addSubViews()
{
    icon = new QLabel(this);
    icon->setFixedSize(62, 62);
    btnAuthorize = new QPushButton(tr("Grant access"), this);
    btnAuthorize->setFont(fonts::appFont(13));
    btnAuthorize->setAutoDefault(false);
    btnLook = new QToolButton(this);
    btnLook->setAutoRaise(true);
    btnLook->setIcon(AppImages::named(QStringLiteral("search")));
    btnLook->setIconSize(QSize(16, 16));
    connect(btnLook, &QToolButton::clicked, this, &RkContainerView::look_click);
    lbTip = new RkLabel(this);
    lbTip->setFont(fonts::appFont(12));
    lbTip->setWordWrap(true);
    lbTip->setMaximumWidth(400);
    lbTitle = new RkLabel(this);
    lbTitle->setFont(fonts::appMediumFont(22));
    updateAppearance(appearance::isDark());
}

void RkContainerView::addConstraints()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(22, 8, 19, 8);
    layout->setSpacing(0);
    layout->addWidget(icon);
    layout->addSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* title = new QHBoxLayout;
    title->setSpacing(2);
    title->addWidget(lbTitle);
    title->addWidget(btnLook);
    title->addStretch(1);
    texts->addStretch(1);
    texts->addLayout(title);
    texts->addWidget(lbTip);
    texts->addStretch(1);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);
    layout->addWidget(btnAuthorize, 0, Qt::AlignVCenter);
}

void RkContainerView::look_click()
{
    if (url)
        platform::FileViewer::activateFileViewerSelecting({QString::fromStdString(*url)});
}

void RkContainerView::updateAppearance(bool isDark)
{
    background_ = isDark ? appearance::colorFromHex("FFFFFF", 0.2) : appearance::colorFromHex("EFEFEF");
    update();
}

void RkContainerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(body, background_);
}
