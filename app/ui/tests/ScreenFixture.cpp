#include "ScreenFixture.h"

#include "app/ui/MainViewController.h"
#include "fixtures/FileFlags.h"

#include <QTest>

void ScreenFixture::makeTree(void (*build)(fixtures::MacTree&))
{
    tree = std::make_unique<fixtures::MacTree>();
    tree->activate();
    if (build)
        build(*tree);
}

void ScreenFixture::openList(bool scan)
{
    driver = std::make_unique<ListScreenDriver>();
    driver->screen->applicationBundlePath = tree->at("/Applications/Ostrova.app");
    QVERIFY(driver->discover());
    if (scan)
        QVERIFY(driver->scanAll());
}

std::string ScreenFixture::addApp(const std::string& name, const std::string& identifier)
{
    fixtures::AppBlueprint app;
    app.name = name;
    app.identifier = identifier;
    app.executable = name;
    std::erase(app.executable, ' ');
    app.files = {{"Contents/Resources/data.bin", 120000}};
    const std::string bundle = tree->addApp("/Applications", app);
    tree->writeFile(tree->at("~/Library/Preferences/" + identifier + ".plist"), "<plist/>");
    tree->writeFile(tree->at("~/Library/Caches/" + identifier + "/cache.db"), std::string(3000, 'c'));
    return bundle;
}

bool ScreenFixture::makeImmutable(const std::string& path)
{
    immutable.push_back(path);
    return fixtures::setImmutable(path, true);
}

void ScreenFixture::tearDown()
{
    driver.reset();
    daemon.reset();
    for (const auto& path : immutable)
        fixtures::setImmutable(path, false);
    immutable.clear();
    tree.reset();
}
