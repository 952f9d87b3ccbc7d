#pragma once

#include "agent/NotificationWindowController.h"
#include "agent/RemovedApplication.h"
#include "agent/TrashWatch.h"

#include <memory>
#include <vector>

class NotificationScheduler;

// The agent's application delegate: starts the reminder schedule and the watch for applications
// taken to the Trash at launch, and shows or dismisses the reminder. At most one reminder exists; a new one replaces the one before.
class AppDelegate {
public:
    explicit AppDelegate(NotificationScheduler& scheduler);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The delegate of the running agent; nullptr until one is set, and again once it is destroyed.
    static AppDelegate* applicationDelegate();
    static void setApplicationDelegate(AppDelegate* delegate);

    void applicationDidFinishLaunching();

    // Closes the reminder on screen, if any, and presents a new one.
    void showNotification();
    // Slides the reminder away. It stays in notificationWindowController until the next replaces it.
    void dismissNotification();

    std::unique_ptr<NotificationWindowController> notificationWindowController;
    // Started at launch: applications the user takes to the Trash and what they left.
    std::unique_ptr<TrashWatch> trashWatch;
    // The last report of such applications; nothing shows it yet.
    std::vector<RemovedApplication> removedApplications;

private:
    // Starts the main application when it is installed; otherwise does nothing.
    static void openMainApplication();

    NotificationScheduler& scheduler_;
};
