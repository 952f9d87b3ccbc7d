#include "CliRunner.h"
#include "demo/DemoTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

QJsonArray jsonArray(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).array();
}

// Every item path of a `scan --json` report.
std::multiset<std::string> scannedPaths(const std::string& json)
{
    std::multiset<std::string> paths;
    for (const auto& app : jsonArray(json))
        for (const auto& group : app.toObject().value("groups").toArray())
            for (const auto& item : group.toObject().value("items").toArray())
                paths.insert(item.toObject().value("filePath").toString().toStdString());
    return paths;
}

// The paths a dry run lists: the indented lines below its first line, up to the next heading.
std::multiset<std::string> dryRunPaths(const std::string& text)
{
    std::multiset<std::string> paths;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0)
        paths.insert(line.substr(2));
    return paths;
}

// What the scan shows of an application is what its removal takes, item for item.
TEST(ScanMatchesDryRunCli, EveryDemoApplicationListsTheSameItemsInBoth)
{
    fixtures::MacTree tree("demo");
    demo::buildDemoTree(tree);
    // A companion whose identifier extends Lumen Notes' one: its preferences are Lumen Notes' only
    // when the companion's claim goes uncounted.
    fixtures::AppBlueprint companion;
    companion.name = "Lumen Notes Sync";
    companion.identifier = "com.lumenhaus.notes.sync";
    tree.addApp("/Applications", companion);
    tree.writeFile(tree.at("~/Library/Preferences/com.lumenhaus.notes.sync.plist"), "<plist/>");
    const auto list = runOstrova(tree, {"list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const auto apps = jsonArray(list.out);
    ASSERT_GE(apps.size(), 15);
    for (const auto& app : apps) {
        const std::string bundle = app.toObject().value("bundlePath").toString().toStdString();
        const auto scan = runOstrova(tree, {"scan", "--json", bundle});
        const auto dry = runOstrova(tree, {"uninstall", "--dry-run", bundle});
        ASSERT_EQ(scan.exitCode, 0) << bundle << scan.err;
        ASSERT_EQ(dry.exitCode, 0) << bundle << dry.err;
        const auto scanned = scannedPaths(scan.out);
        EXPECT_EQ(scanned.count(bundle), 1u) << bundle;
        EXPECT_EQ(dryRunPaths(dry.out), scanned) << bundle;
    }
}

}  // namespace
