#pragma once

#include "ListScreenDriver.h"
#include "fixtures/MacTree.h"
#include "fixtures/RunningDaemon.h"

#include <memory>
#include <string>
#include <vector>

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
    void tearDown();
};
