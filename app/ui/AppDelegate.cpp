#include "app/ui/AppDelegate.h"

#include "app/locations/ReviewManager.h"
#include "app/catalogue/ReviewArguments.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/online/GALogging.h"
#include "app/ui/MainViewController.h"
#include "app/ui/MainWindowController.h"
#include "app/ui/SandboxAuthorizeWindowController.h"
#include "system/Utility.h"
#include "platform/Bundle.h"
#include "platform/LoginItem.h"

#include <QApplication>

#include <iostream>

namespace {

std::string mainBundleIdentifierOrDie()
{
    const auto bundle = platform::Bundle::mainBundle();
    const auto identifier = bundle ? bundle->bundleIdentifier() : std::nullopt;
    if (!identifier || identifier->empty()) {
        std::cerr << "The main bundle has no bundle identifier" << std::endl;
        std::abort();
    }
    return *identifier;
}

}  // namespace

AppDelegate::AppDelegate() : AppDelegate(mainBundleIdentifierOrDie(), UninstallAppManager::shared()) {}

AppDelegate::AppDelegate(std::shared_ptr<UninstallAppManager> manager, QObject* parent)
    : AppDelegate(mainBundleIdentifierOrDie(), std::move(manager), parent)
{
}

AppDelegate::AppDelegate(const std::string& mainBundleIdentifier, std::shared_ptr<UninstallAppManager> manager, QObject* parent)
    : QObject(parent),
      helperBundleID(mainBundleIdentifier + ".agent"),
      sandboxAuthorizeWindow(std::make_unique<SandboxAuthorizeWindowController>()),
      setLoginItemEnabled([](const std::string& id, bool enabled) { return platform::LoginItem::setEnabled(id, enabled); }),
      manager_(std::move(manager))
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    auto& logging = GALogging::standard();
    logging.logEvent(logging.eventName, "start", GALogging::operatingSystemLabel());

    if (!ReviewManager::shared().reviewPeriodActive()) {
        if (!setLoginItemEnabled(helperBundleID, kAgentEnabled))
            std::cout << "Could not register the login item " << helperBundleID << std::endl;
    }

    // Discovery in the sandbox sees only granted folders: ask for them before the list is built.
    if (Utility::isSandboxed() && !sandboxAuthorizeWindow->hasGrants())
        sandboxAuthorizeWindow->runModal();

    QApplication::setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
    mainWindowController = std::make_unique<MainWindowController>(manager_);
    if (!remainsToReview.empty())
        mainWindowController->mainViewContoller->reviewRemainsOf(remainsToReview);
    mainWindowController->showWindow();
}

void AppDelegate::openedAgain(const std::vector<std::string>& arguments)
{
    if (!mainWindowController)
        return;
    if (const auto identifiers = remainsToReviewIn(arguments); !identifiers.empty())
        mainWindowController->mainViewContoller->reviewRemainsOf(identifiers);
    mainWindowController->showWindow();
}

std::vector<std::string> AppDelegate::remainsToReviewIn(const std::vector<std::string>& arguments)
{
    return ReviewArguments::read(arguments);
}
