#include "app/ui/ApplicationFolderWatch.h"

#include "app/locations/SearchFilePath.h"
#include "platform/DispatchQueue.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Workspace.h"

#include <QSocketNotifier>

#include <sys/stat.h>

namespace {

namespace fs = platform::fs;
namespace path = platform::path;

// The folder and the plain folders below it, down to the depth discovery looks into.
void collectFolders(const std::string& folder, int depth, std::vector<std::string>& folders)
{
    folders.push_back(folder);
    if (depth >= 3)
        return;
    for (const auto& name : fs::listDirectory(folder).value_or(std::vector<std::string>{})) {
        const std::string child = path::appending(folder, name);
        const auto status = fs::linkStatus(child);
        if (!status || !S_ISDIR(status->st_mode) || platform::Workspace::isFilePackageAtPath(child))
            continue;
        collectFolders(child, depth + 1, folders);
    }
}

}  // namespace

ApplicationFolderWatch::ApplicationFolderWatch(Handler onBundles, QObject* parent) : QObject(parent), onBundles_(std::move(onBundles))
{
    settle_.setSingleShot(true);
    settle_.setInterval(500);
    connect(&settle_, &QTimer::timeout, this, [this] {
        checkNow();
        secondLook_.start();
    });
    secondLook_.setSingleShot(true);
    secondLook_.setInterval(3000);
    connect(&secondLook_, &QTimer::timeout, this, &ApplicationFolderWatch::checkNow);
}

ApplicationFolderWatch::~ApplicationFolderWatch()
{
    *alive_ = false;
}

void ApplicationFolderWatch::start()
{
    if (started_)
        return;
    started_ = true;
    if (watcher_.descriptor() >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(watcher_.descriptor(), QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readChanges(); });
    }
    watchFolders();
}

void ApplicationFolderWatch::watchFolders()
{
    std::vector<std::string> folders;
    for (const auto& folder : SearchFilePath::applicationFolders())
        collectFolders(folder, 0, folders);
    watcher_.watch(folders);
}

void ApplicationFolderWatch::readChanges()
{
    if (!watcher_.readChanges().empty())
        settle_.start();
}

void ApplicationFolderWatch::checkNow()
{
    if (checking_) {
        checkAgain_ = true;
        return;
    }
    checking_ = true;
    // Discovery reads every application folder, which may lie on a slow volume: never on this thread.
    std::weak_ptr<bool> alive = alive_;
    dispatch::GlobalQueue::async([this, alive] {
        auto bundles = SearchFilePath::applicationBundles();
        dispatch::MainQueue::async([this, alive, bundles = std::move(bundles)] {
            if (const auto living = alive.lock(); living && *living)
                finishCheck(bundles);
        });
    });
}

void ApplicationFolderWatch::finishCheck(const std::vector<std::string>& bundles)
{
    checking_ = false;
    // Folders made meanwhile (a vendor's folder dragged in) are watched from now on.
    watchFolders();
    onBundles_(bundles);
    if (std::exchange(checkAgain_, false))
        checkNow();
}
