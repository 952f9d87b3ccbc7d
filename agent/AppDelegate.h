#pragma once

#include "agent/NotificationWindowController.h"
#include "agent/RemainsRemoval.h"
#include "agent/RemovedApplication.h"
#include "agent/TrashWatch.h"

#include <memory>
#include <string>
#include <vector>

class NotificationScheduler;
class RemainsPanelView;

// The agent's application delegate: starts the reminder schedule and the watch for applications
// taken to the Trash at launch, and shows or dismisses the reminder and the panel offering what
// such applications left. At most one of each exists; a new one replaces the one before.
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

    // Offers the remains of these applications (a report of trashWatch). A panel still on screen
    // that nothing was done with is replaced by one offering its applications and these; while
    // remains are being removed, or their outcome is shown, these wait until that panel goes.
    void showRemovedApplications(const std::vector<RemovedApplication>& report);
    // An application with this identifier was installed again (an update, or put back from the
    // Trash): it is no longer offered; a panel that offered only it goes. A panel already acted
    // on stays: the removal checks again itself.
    void applicationInstalledAgain(const std::string& identifier);
    // "Remove remains": removes what the panel lists and then shows what was removed and what is left.
    void removeRemains();
    // "Put Back" after a removal: puts what it moved to the Trash back and says what came back.
    void putBackRemains(const RemovalRecord& record);
    // "Review": opens Ostrova on the remains of the panel's applications, ticked, and dismisses it.
    void reviewRemains();
    // "Not now" and "Done": slides the panel away; what waited is offered next.
    void dismissRemains();

    std::unique_ptr<NotificationWindowController> notificationWindowController;
    std::unique_ptr<NotificationWindowController> remainsWindowController;
    // Started at launch: applications the user takes to the Trash and what they left.
    std::unique_ptr<TrashWatch> trashWatch;
    // The applications of the panel on screen (or last on screen).
    std::vector<RemovedApplication> removedApplications;
    RemainsRemoval remainsRemoval;

private:
    // Starts the main application with `arguments` when it is installed; otherwise does nothing.
    static void openMainApplication(const std::vector<std::string>& arguments = {});
    RemainsPanelView* remainsPanel() const;

    // Reports that came while the panel was busy.
    std::vector<RemovedApplication> waitingReport_;
    // The panel on screen has been acted on (removing or showing the outcome).
    bool remainsActedOn_ = false;

    NotificationScheduler& scheduler_;
};
