#pragma once

#include "Auxiliary/RkLabel.h"
#include "ListScreenDriver.h"
#include "app/ui/FlatAppList.h"
#include "app/ui/MainViewController.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/RequestUninstallWinodowController.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/UninstallCompletedViewController.h"
#include "app/ui/UninstallResidualViewController.h"
#include "app/ui/UninstallingViewController.h"
#include "fixtures/MacTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/RunningDaemon.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtMainQueue.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

// An application for addApps; never used when `usedDaysAgo` is negative, and without an
// identifier it has no Info.plist nor any file beside its bundle.
struct AppSketch {
    const char* name;
    const char* identifier;
    int usedDaysAgo;
    std::int64_t bytes;  // of data inside its bundle
};
// Each in /Applications, with its preferences, caches in the user's and the system's Library (a
// group of two files), a folder of support files and a log.
void addApps(fixtures::MacTree& tree, std::initializer_list<AppSketch> apps);

// What the screen tests share: a temporary Mac, made the one the process sees, and the list over it.
class ScreenFixture {
protected:
    std::unique_ptr<fixtures::MacTree> tree;
    std::unique_ptr<ListScreenDriver> driver;
    std::unique_ptr<fixtures::RunningDaemon> daemon;
    std::vector<std::string> immutable;  // flags taken off again at the end

    MainViewController* screen() const { return driver->screen; }
    void makeTree(void (*build)(fixtures::MacTree&) = nullptr);
    // The list, running from the Applications folder of the generated Mac, found and (`scan`) scanned.
    void openList(bool scan = true);
    // An application with a data file, its preferences and a cache; answers its bundle's path.
    std::string addApp(const std::string& name, const std::string& identifier);
    bool makeImmutable(const std::string& path);
    void tick(std::initializer_list<const char*> names);  // a click on each application's box
    // The Uninstall button clicked: the sheet it opened, if any.
    RequestUninstallWinodowController* pressUninstall();
    QString footer() const;
    // The paths of an application's items (`ticked`: only those ticked).
    static std::set<std::string> itemPaths(const UninstallApp* app, bool ticked = false);
#ifdef OSTROVA_DAEMON_PATH
    bool startDaemon()
    {
        daemon = std::make_unique<fixtures::RunningDaemon>(*tree, OSTROVA_DAEMON_PATH, OSTROVA_LAUNCHCTL_PATH);
        return daemon->isUp();
    }
#endif
    void tearDown();
};
