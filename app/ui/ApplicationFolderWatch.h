#pragma once

#include "platform/FolderWatcher.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

// Keeps the window's list from going stale: watches the folders discovery looks into (each
// application folder and the plain folders in it, three levels down) and, once changes have
// stopped for a moment, discovers the bundles again off the main thread and hands them over; a
// second look a few seconds later catches a bundle that was still being copied the first time
// (discovery passes over a bundle without its Info.plist). Folders that cannot be watched are
// looked at when another one changes or when asked. Main thread only.
class ApplicationFolderWatch : public QObject {
public:
    using Handler = std::function<void(const std::vector<std::string>& bundles)>;

    explicit ApplicationFolderWatch(Handler onBundles, QObject* parent = nullptr);
    ~ApplicationFolderWatch() override;

    void start();
    bool isStarted() const { return started_; }
    // Discovers again now, as after a change.
    void checkNow();

    void setSettleTime(std::chrono::milliseconds time) { settle_.setInterval(time); }

private:
    void readChanges();
    void watchFolders();
    void finishCheck(const std::vector<std::string>& bundles);

    Handler onBundles_;
    platform::FolderWatcher watcher_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer settle_;
    QTimer secondLook_;
    bool started_ = false;
    bool checking_ = false;
    bool checkAgain_ = false;
    // Shared with the discovery running off the main thread: it reports only while this lives.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
