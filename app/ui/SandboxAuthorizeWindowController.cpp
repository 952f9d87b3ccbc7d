#include "app/ui/SandboxAuthorizeWindowController.h"

#include "app/locations/FolderAccess.h"
#include "app/locations/ReviewManager.h"
#include "app/locations/SearchFilePath.h"
#include "app/ui/AppImages.h"
#include "app/ui/RkContainerView.h"
#include "Auxiliary/AppFonts.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "platform/Sandbox.h"
#include "platform/SystemRoot.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kContext = "SandboxAuthorizeWindowController";

struct PanelText {
    const char* image;
    const char* title;
    const char* tip;
    int tipWidth;
};

void fillPanel(RkContainerView* panel, const std::string& folder, const PanelText& text)
{
    panel->url = folder;
    panel->icon->setPixmap(AppImages::named(QString::fromLatin1(text.image)).pixmap(QSize(62, 62), panel->devicePixelRatioF()));
    panel->lbTitle->setStringValue(QCoreApplication::translate(kContext, text.title));
    panel->lbTip->setStringValue(QCoreApplication::translate(kContext, text.tip));
    panel->lbTip->setMaximumWidth(text.tipWidth);
    panel->setFixedHeight(80);
}

void showGranted(QPushButton* button, bool granted)
{
    button->setText(granted ? QCoreApplication::translate(kContext, "Granted access") : QCoreApplication::translate(kContext, "Grant access"));
    button->setEnabled(!granted);
}

bool folderIsGranted(const std::string& folder)
{
    bool granted = false;
    withStoredFolderAccess(folder, [&](bool ok) { granted = ok; });
    return granted;
}

}  // namespace

SandboxAuthorizeWindowController::SandboxAuthorizeWindowController(QObject* parent) : QObject(parent)
{
    auto* dialog = new QDialog;
    window_ = dialog;
    dialog->resize(760, 502);
    dialog->setWindowTitle(QString());

    icon = new QLabel(dialog);
    icon->setPixmap(AppImages::named(QStringLiteral("AppIcon")).pixmap(QSize(158, 158), dialog->devicePixelRatioF()));
    icon->setFixedSize(158, 158);
    lbTitle = new RkLabel(tr("Grant %1 access to the following directories").arg(tr("Ostrova")),
                          dialog);
    lbTitle->setFont(fonts::appMediumFont(22));
    lbTitle->setAlignment(Qt::AlignCenter);

    libraryContainer = BaseView::make<RkContainerView>(dialog);
    appContainer = BaseView::make<RkContainerView>(dialog);
    rootContainer = BaseView::make<RkContainerView>(dialog);
    fillPanel(libraryContainer, SearchFilePath::resolveHomePath("~/Library"),
              {"library", QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "Library"),
               QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "Search for background apps, logs, etc. installed in non-standard directories"), 350});
    fillPanel(appContainer, SearchFilePath::resolveHomePath("~/Library/Containers"),
              {"containers", QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "App Containers"),
               QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "Search for data stored in the container directory corresponding to the installed App"), 340});
    fillPanel(rootContainer, platform::fixedPath("/"),
              {"root", QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "macOS"),
               QT_TRANSLATE_NOOP("SandboxAuthorizeWindowController", "Find all existing apps and corresponding data, dependency files, log files, etc."), 400});
    connect(libraryContainer->btnAuthorize, &QPushButton::clicked, this, &SandboxAuthorizeWindowController::authorize_library_click);
    connect(appContainer->btnAuthorize, &QPushButton::clicked, this, &SandboxAuthorizeWindowController::authorize_appContainer_click);
    connect(rootContainer->btnAuthorize, &QPushButton::clicked, this, &SandboxAuthorizeWindowController::authorize_root_click);

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(51, 40, 51, 30);
    layout->setSpacing(0);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addSpacing(5);
    layout->addWidget(lbTitle);
    const bool review = ReviewManager::shared().reviewPeriodActive();
    if (review) {
        layout->addSpacing(33);
        layout->addWidget(libraryContainer);
        layout->addSpacing(13);
        layout->addWidget(appContainer);
        rootContainer->hide();
        libraryContainer->btnAuthorize->setDefault(true);
    } else {
        layout->addSpacing(96);
        layout->addWidget(rootContainer);
        libraryContainer->hide();
        appContainer->hide();
        rootContainer->btnAuthorize->setDefault(true);
    }
    layout->addStretch(1);
    updateAppearance();
}

SandboxAuthorizeWindowController::~SandboxAuthorizeWindowController()
{
    delete window_;
}

void SandboxAuthorizeWindowController::updateAppearance()
{
    const bool dark = appearance::isDark();
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, dark ? appearance::colorFromHex("2F2F2D") : QColor(Qt::white));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
    for (RkContainerView* panel : {libraryContainer, appContainer, rootContainer})
        panel->updateAppearance(dark);
}

bool SandboxAuthorizeWindowController::hasGrants() const
{
    if (ReviewManager::shared().reviewPeriodActive())
        return folderIsGranted(*libraryContainer->url) && folderIsGranted(*appContainer->url);
    return folderIsGranted(*rootContainer->url);
}

int SandboxAuthorizeWindowController::runModal()
{
    if (!window_)
        return retCode;
    window_->exec();
    return retCode;
}

void SandboxAuthorizeWindowController::authorize(RkContainerView* panel, void (SandboxAuthorizeWindowController::*store)(bool))
{
    if (!panel->url)
        return;
    const std::string folder = *panel->url;
    QPointer<SandboxAuthorizeWindowController> self(this);
    withFolderAccess(folder, StoredGrant::use, Asking::mayAskUser, nullptr, [self, store, folder](bool granted) {
        // The open panel lets the user pick another folder than the one offered; only a grant that
        // reaches this panel's folder counts for it.
        const bool reached = granted && platform::Sandbox::isReadableAndWritable(folder);
        QMetaObject::invokeMethod(
            self.data(), [self, store, reached] { if (self) (self.data()->*store)(reached); }, Qt::QueuedConnection);
    });
}

void SandboxAuthorizeWindowController::authorize_library_click()
{
    authorize(libraryContainer, &SandboxAuthorizeWindowController::setLibrary);
}

void SandboxAuthorizeWindowController::authorize_appContainer_click()
{
    authorize(appContainer, &SandboxAuthorizeWindowController::setContainers);
}

void SandboxAuthorizeWindowController::authorize_root_click()
{
    authorize(rootContainer, &SandboxAuthorizeWindowController::setRoot);
}

void SandboxAuthorizeWindowController::setLibrary(bool granted)
{
    library_ = granted;
    showGranted(libraryContainer->btnAuthorize, granted);
    if (!granted)
        libraryContainer->btnAuthorize->setDefault(true);
    if (library_ && containers_)
        closeWithSuccess();
    else if (library_)
        appContainer->btnAuthorize->setDefault(true);
}

void SandboxAuthorizeWindowController::setContainers(bool granted)
{
    containers_ = granted;
    showGranted(appContainer->btnAuthorize, granted);
    if (library_ && containers_)
        closeWithSuccess();
    else if (library_)
        appContainer->btnAuthorize->setDefault(true);
}

void SandboxAuthorizeWindowController::setRoot(bool granted)
{
    root = granted;
    if (granted)
        closeWithSuccess();
}

void SandboxAuthorizeWindowController::closeWithSuccess()
{
    retCode = 1;
    if (window_)
        window_->done(retCode);
}
