#include "agent/AppDelegate.h"

#include "agent/NotificationScheduler.h"
#include "platform/Workspace.h"

namespace {

constexpr const char* kMainApplicationIdentifier = "com.qzt.ostrova";

AppDelegate*& registeredDelegate()
{
    static AppDelegate* delegate = nullptr;
    return delegate;
}

}  // namespace

AppDelegate::AppDelegate(NotificationScheduler& scheduler) : scheduler_(scheduler) {}

AppDelegate::~AppDelegate()
{
    if (registeredDelegate() == this)
        registeredDelegate() = nullptr;
}

AppDelegate* AppDelegate::applicationDelegate()
{
    return registeredDelegate();
}

void AppDelegate::setApplicationDelegate(AppDelegate* delegate)
{
    registeredDelegate() = delegate;
}

void AppDelegate::applicationDidFinishLaunching()
{
    scheduler_.start();
    trashWatch = std::make_unique<TrashWatch>([this](const std::vector<RemovedApplication>& report) { removedApplications = report; });
    trashWatch->start();
}

void AppDelegate::showNotification()
{
    if (notificationWindowController)
        notificationWindowController->close();
    notificationWindowController = std::make_unique<NotificationWindowController>(
        [this] {
            dismissNotification();
            openMainApplication();
        },
        [this] { dismissNotification(); });
    notificationWindowController->present();
}

void AppDelegate::dismissNotification()
{
    if (notificationWindowController)
        notificationWindowController->dismiss();
}

void AppDelegate::openMainApplication()
{
    const std::string bundle = platform::Workspace::urlForApplicationWithBundleIdentifier(kMainApplicationIdentifier);
    if (!bundle.empty())
        platform::Workspace::openApplication(bundle);
}
