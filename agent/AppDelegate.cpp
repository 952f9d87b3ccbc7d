#include "agent/AppDelegate.h"

#include "agent/NotificationScheduler.h"
#include "agent/NotificationView.h"
#include "agent/RemainsPanelView.h"
#include "agent/UnusedApplications.h"
#include "app/catalogue/ReviewArguments.h"
#include "app/locations/SearchFilePath.h"
#include "platform/DispatchQueue.h"
#include "platform/BundleIdentifier.h"
#include "platform/PathUtil.h"
#include "platform/Workspace.h"

#include <QPointer>

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

constexpr const char* kMainApplicationIdentifier = "com.qzt.ostrova";
constexpr int kPanelGap = 10;

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
    trashWatch = std::make_unique<TrashWatch>([this](const std::vector<RemovedApplication>& report) { showRemovedApplications(report); });
    trashWatch->setInstalledHandler([this](const std::string& identifier) { applicationInstalledAgain(identifier); });
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
    // A remains panel already in the corner keeps it: the reminder goes below.
    if (remainsWindowController && remainsWindowController->window()->isVisible())
        notificationWindowController->setRestingOffset(remainsWindowController->window()->height() + kPanelGap);
    notificationWindowController->present();

    // The reminder says what a look at the installed applications finds once it has looked; the
    // look reads every bundle's date, which a slow disk may hold up, so it runs off the main queue.
    QPointer<NotificationView> view = qobject_cast<NotificationView*>(notificationWindowController->panel());
    dispatch::GlobalQueue::async([view] {
        const auto found = UnusedApplications::count(SearchFilePath::applicationFolders(), std::chrono::system_clock::now());
        dispatch::MainQueue::async([view, found] {
            if (view)
                view->setMessage(NotificationView::messageFor(found));
        });
    });
}

void AppDelegate::dismissNotification()
{
    if (notificationWindowController)
        notificationWindowController->dismiss();
}

void AppDelegate::openMainApplication(const std::vector<std::string>& arguments)
{
    const std::string bundle = platform::Workspace::urlForApplicationWithBundleIdentifier(kMainApplicationIdentifier);
    if (!bundle.empty())
        platform::Workspace::openApplication(bundle, arguments);
}

namespace {

// `earlier` with `later` added; an application in both is described as `later` says.
std::vector<RemovedApplication> merged(std::vector<RemovedApplication> earlier, const std::vector<RemovedApplication>& later)
{
    for (const auto& application : later) {
        const auto same = std::find_if(earlier.begin(), earlier.end(), [&](const RemovedApplication& known) {
            return BundleIdentifier::same(known.identifier, application.identifier);
        });
        if (same != earlier.end())
            *same = application;
        else
            earlier.push_back(application);
    }
    return earlier;
}

}  // namespace

RemainsPanelView* AppDelegate::remainsPanel() const
{
    return remainsWindowController ? static_cast<RemainsPanelView*>(remainsWindowController->panel()) : nullptr;
}

void AppDelegate::showRemovedApplications(const std::vector<RemovedApplication>& report)
{
    if (report.empty())
        return;
    const bool onScreen = remainsWindowController && remainsWindowController->window()->isVisible();
    if (onScreen && remainsActedOn_) {
        waitingReport_ = merged(std::move(waitingReport_), report);
        return;
    }
    removedApplications = onScreen ? merged(removedApplications, report) : report;
    remainsActedOn_ = false;
    if (remainsWindowController)
        remainsWindowController->close();
    auto* panel = new RemainsPanelView(
        removedApplications, [this] { removeRemains(); }, [this] { reviewRemains(); }, [this] { dismissRemains(); });
    remainsWindowController = std::make_unique<NotificationWindowController>(panel);
    // The weekly reminder may be on screen in the same corner: the panel goes below it.
    if (notificationWindowController && notificationWindowController->window()->isVisible())
        remainsWindowController->setRestingOffset(notificationWindowController->window()->height() + kPanelGap);
    remainsWindowController->present();
}

void AppDelegate::applicationInstalledAgain(const std::string& identifier)
{
    const auto same = [&identifier](const RemovedApplication& application) {
        return BundleIdentifier::same(application.identifier, identifier);
    };
    std::erase_if(waitingReport_, same);
    if (remainsActedOn_ || std::none_of(removedApplications.begin(), removedApplications.end(), same))
        return;
    auto others = removedApplications;
    std::erase_if(others, same);
    removedApplications.clear();
    if (!remainsWindowController)
        return;
    if (others.empty()) {
        remainsWindowController->dismiss();
        return;
    }
    remainsWindowController->close();
    showRemovedApplications(others);
}

void AppDelegate::removeRemains()
{
    RemainsPanelView* panel = remainsPanel();
    if (!panel || remainsActedOn_)
        return;
    remainsActedOn_ = true;
    panel->showRemoving();
    remainsRemoval.start(removedApplications, [this](const RemainsRemoval::Outcome& outcome) {
        RemainsPanelView* shown = remainsPanel();
        if (!shown)
            return;
        shown->showOutcome(outcome);
        if (outcome.record)
            shown->setOnPutBack([this, record = *outcome.record] { putBackRemains(record); });
    });
}

void AppDelegate::putBackRemains(const RemovalRecord& record)
{
    RemainsPanelView* panel = remainsPanel();
    if (!panel || remainsRemoval.isRunning())
        return;
    panel->showPuttingBack();
    remainsRemoval.putBack(record, [this](const PutBack::Report& report) {
        if (RemainsPanelView* shown = remainsPanel())
            shown->showPutBack(report);
    });
}

void AppDelegate::reviewRemains()
{
    std::vector<std::string> identifiers;
    for (const auto& application : removedApplications)
        identifiers.push_back(application.identifier);
    dismissRemains();
    openMainApplication(ReviewArguments::make(identifiers));
}

void AppDelegate::dismissRemains()
{
    if (remainsRemoval.isRunning())
        return;
    remainsActedOn_ = false;
    const auto waiting = std::exchange(waitingReport_, {});
    if (!remainsWindowController)
        return;
    if (waiting.empty()) {
        remainsWindowController->dismiss();
        // Put off or done with: a report while the panel slides away does not bring them back.
        removedApplications.clear();
        return;
    }
    remainsWindowController->close();
    showRemovedApplications(waiting);
}
