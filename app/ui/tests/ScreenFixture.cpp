#include "ScreenFixture.h"

#include "fixtures/FileFlags.h"

void addApps(fixtures::MacTree& tree, std::initializer_list<AppSketch> apps)
{
    for (const AppSketch& app : apps) {
        fixtures::AppBlueprint blueprint;
        blueprint.name = app.name;
        blueprint.identifier = app.identifier;
        blueprint.withInfoPlist = *app.identifier != '\0';
        if (app.usedDaysAgo >= 0)
            blueprint.lastUsed = std::chrono::system_clock::now() - std::chrono::hours(24 * app.usedDaysAgo);
        if (app.bytes > 0)
            blueprint.files = {{"Contents/Resources/data.bin", app.bytes}};
        tree.addApp("/Applications", blueprint);
        if (!blueprint.withInfoPlist)
            continue;
        const std::string id = app.identifier, support = tree.at("~/Library/Application Support/" + std::string(app.name));
        tree.writeFile(tree.at("~/Library/Preferences/" + id + ".plist"), "<plist/>");
        tree.writeFile(tree.at("~/Library/Caches/" + id + "/cache.db"), std::string(2000, 'c'));
        tree.writeFile(tree.at("/Library/Caches/" + id + "/shared.db"), std::string(1000, 'c'));
        tree.writeFile(support + "/store.db", std::string(4000, 's'));
        tree.writeFile(support + "/settings.json", "{}");
        tree.writeFile(tree.at("~/Library/Logs/" + std::string(app.name) + "/run.log"), "log");
    }
}

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

void ScreenFixture::tick(std::initializer_list<const char*> names)
{
    for (const char* name : names)
        driver->clickCheckBox(driver->appRow(name));
}

RequestUninstallWinodowController* ScreenFixture::pressUninstall()
{
    QTest::mouseClick(screen()->btnUnistall, Qt::LeftButton);
    return screen()->requestUninstallWinodowController.get();
}

QString ScreenFixture::footer() const
{
    return screen()->lbSelected->text();
}

std::set<std::string> ScreenFixture::itemPaths(const UninstallApp* app, bool ticked)
{
    std::set<std::string> paths;
    for (const auto& group : app->fileGroups)
        for (const auto& item : group->fileItem)
            if (!ticked || item->isSelected)
                paths.insert(item->filePath);
    return paths;
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
