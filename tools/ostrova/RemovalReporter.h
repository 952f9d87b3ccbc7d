#pragma once

#include "app/catalogue/UninstallDelegate.h"
#include "app/records/UninstallApp.h"

#include <condition_variable>
#include <iostream>
#include <mutex>
#include <set>
#include <string>

// Asks on the terminal; anything but a yes is a no.
inline bool askYes(const std::string& question)
{
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

// Reports a removal run of the catalogue as it goes and answers the force-quit question.
class RemovalReporter : public UninstallDelegate {
public:
    RemovalReporter(bool forceQuit, bool interactive) : forceQuit_(forceQuit), interactive_(interactive) {}

    void appsDidLoad() override {}
    void appDidScan(const std::shared_ptr<UninstallApp>&) override {}
    void allAppsDidScan() override {}
    void uninstallProgress(UninstallType state, double value, double total) override
    {
        if (state == eDeleting) {
            std::cerr << "Removing " << static_cast<int>(value) + 1 << "/" << static_cast<int>(total) << "\n";
            return;
        }
        if (state == eDeleteCompleted) {
            std::lock_guard lock(mutex_);
            done_ = true;
            finished_.notify_all();
        }
    }
    bool shouldForceQuit(const std::shared_ptr<UninstallApp>& app) override
    {
        bool quit = forceQuit_;
        if (!quit && interactive_)
            quit = askYes(app->displayName() + " is running. Quit it and remove it?");
        if (!quit)
            std::cerr << app->displayName() << " is running and was left alone.\n";
        std::lock_guard lock(mutex_);
        (quit ? quitApps_ : skippedApps_).insert(app.get());
        return quit;
    }
    void waitUntilDone()
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return done_; });
    }

private:
    bool forceQuit_;
    bool interactive_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::set<const UninstallApp*> quitApps_, skippedApps_;
};

