#include "CliRunner.h"
#include "app/catalogue/UninstallAppManager.h"
#include "demo/DemoTree.h"
#include "fixtures/BackgroundProcess.h"
#include "platform/PropertyList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

namespace {

class CliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = new fixtures::MacTree("demo");
        demo::buildDemoTree(*tree);
    }
    static void TearDownTestSuite()
    {
        delete tree;
        tree = nullptr;
    }

    fixtures::ProcessResult ostrova(std::vector<std::string> words) { return runOstrova(*tree, std::move(words)); }

    static QJsonArray parse(const std::string& text)
    {
        QJsonParseError error;
        const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text.substr(0, 400);
        return doc.array();
    }

    static fixtures::MacTree* tree;
};

fixtures::MacTree* CliTest::tree = nullptr;

TEST_F(CliTest, ListGivesEveryApplicationAsTextAndJson)
{
    const auto text = ostrova({"list"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Lumen Notes"), std::string::npos);
    EXPECT_NE(text.out.find("com.lumenhaus.notes"), std::string::npos);

    const auto json = ostrova({"list", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const QJsonArray apps = parse(json.out);
    EXPECT_GE(apps.size(), 15);
    EXPECT_LE(apps.size(), 25);
    std::set<QString> paths;
    for (const auto& value : apps) {
        const auto app = value.toObject();
        for (const char* field : {"bundlePath", "bundleIdentifier", "displayName", "lastUsed", "bundleSize", "totalSize", "isReady", "groups"})
            EXPECT_TRUE(app.contains(field)) << field;
        EXPECT_FALSE(app.value("isReady").toBool());
        EXPECT_TRUE(app.value("groups").toArray().isEmpty());
        EXPECT_TRUE(app.value("bundlePath").toString().startsWith(QString::fromStdString(tree->root())));
        EXPECT_TRUE(paths.insert(app.value("bundlePath").toString()).second);
    }
    // One line per application below the header.
    EXPECT_EQ(static_cast<qsizetype>(std::count(text.out.begin(), text.out.end(), '\n')), apps.size() + 1);
}

TEST_F(CliTest, ScanJsonMatchesTheScanInProcess)
{
    const auto json = ostrova({"scan", "--all", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const QJsonArray apps = parse(json.out);

    tree->activate();
    const auto manager = UninstallAppManager::make();
    manager->discoverApps();
    manager->runScanLoop();
    ASSERT_EQ(static_cast<qsizetype>(manager->allApps().size()), apps.size());

    std::map<std::string, std::shared_ptr<UninstallApp>> byPath;
    for (const auto& app : manager->allApps())
        byPath[*app->bundlePath] = app;
    for (const auto& value : apps) {
        const auto app = value.toObject();
        const auto record = byPath.at(app.value("bundlePath").toString().toStdString());
        EXPECT_TRUE(app.value("isReady").toBool());
        EXPECT_EQ(app.value("totalSize").toInteger(), record->totalSize);
        EXPECT_EQ(app.value("bundleSize").toInteger(), record->bundleSize);
        const auto groups = app.value("groups").toArray();
        ASSERT_EQ(static_cast<std::size_t>(groups.size()), record->fileGroups.size());
        ASSERT_FALSE(groups.isEmpty());
        EXPECT_EQ(groups.at(0).toObject().value("type").toString(), "bundle");
        EXPECT_EQ(groups.at(0).toObject().value("title").toString(), "Program files");
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const auto group = groups.at(g).toObject();
            const auto& expected = record->fileGroups[static_cast<std::size_t>(g)];
            EXPECT_EQ(group.value("type").toString().toStdString(), categoryCaseName(expected->type));
            const auto items = group.value("items").toArray();
            ASSERT_EQ(static_cast<std::size_t>(items.size()), expected->fileItem.size());
            for (qsizetype i = 0; i < items.size(); ++i) {
                const auto item = items.at(i).toObject();
                const auto& want = expected->fileItem[static_cast<std::size_t>(i)];
                EXPECT_EQ(item.value("filePath").toString().toStdString(), want->filePath);
                EXPECT_EQ(item.value("fileName").toString().toStdString(), want->fileName);
                EXPECT_EQ(item.value("isDir").toBool(), want->isDir);
                EXPECT_EQ(item.value("size").toInteger(), want->size);
            }
        }
    }
}

TEST_F(CliTest, ScanPicksApplicationsByNameIdentifierOrPath)
{
    const auto result = ostrova({"scan", "--json", "lumen notes", "com.kestrelsoft.browser",
                                 tree->at("/Applications/Huebox.app/"), "com.lumenhaus.notes"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto apps = parse(result.out);
    ASSERT_EQ(apps.size(), 3);
    EXPECT_EQ(apps.at(0).toObject().value("bundleIdentifier").toString(), "com.lumenhaus.notes");
    EXPECT_EQ(apps.at(1).toObject().value("bundleIdentifier").toString(), "com.kestrelsoft.browser");
    EXPECT_EQ(apps.at(2).toObject().value("displayName").toString(), "Huebox");

    const auto text = ostrova({"scan", "Kestrel Browser"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Program files"), std::string::npos);
    EXPECT_NE(text.out.find("Kestrel Browser Helper.app"), std::string::npos);
    // Not a terminal: no progress line.
    EXPECT_EQ(text.err, "");
}

TEST_F(CliTest, ProgressGoesToATerminalOnly)
{
    if (::access("/usr/bin/script", X_OK) != 0)
        GTEST_SKIP() << "script(1) is not installed";
    // script gives the tool a terminal for standard error (and output).
    const std::string command = std::string("'") + OSTROVA_CLI + "' scan --all > /dev/null";
    const auto result = fixtures::runProcess({"/usr/bin/script", "-qec", command, "/dev/null"},
                                             {{"OSTROVA_ROOT", tree->root()}, {"HOME", tree->home()},
                                              {"TMPDIR", tree->temporaryDirectory()}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Scanning 1/"), std::string::npos);
    EXPECT_NE(result.out.find("\r\033[K"), std::string::npos);
}

// Inside Ostrova.app the tool lives in Contents/Helpers and the bundle is its main bundle.
TEST_F(CliTest, BundledHelperFindsItsBundle)
{
    ASSERT_EQ(::access(OSTROVA_CLI_IN_BUNDLE, X_OK), 0) << OSTROVA_CLI_IN_BUNDLE;
    tree->activate();
    const auto result = fixtures::runProcess({OSTROVA_CLI_IN_BUNDLE, "list", "--json"}, {{"OSTROVA_ROOT", tree->root()}, {"HOME", tree->home()}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_GE(parse(result.out).size(), 15);
}

TEST_F(CliTest, BadCallsFailClearly)
{
    const auto unknown = ostrova({"scan", "No Such App", "Huebox"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("no installed application is named 'No Such App'"), std::string::npos);
    EXPECT_EQ(unknown.out, "");

    // A call that makes no sense: one line for what is wrong and one for where to look, no usage text.
    const struct {
        std::vector<std::string> words;
        std::string err;
    } calls[] = {
        {{"scan"}, "ostrova: scan needs --all or an application\nsee 'ostrova help scan'\n"},
        {{"scan", "--bogus"}, "ostrova: unknown option --bogus\nsee 'ostrova help scan'\n"},
        {{"leftovers", "--delete"}, "ostrova: leftovers does not take --delete without --remove ID... or --all\nsee 'ostrova help leftovers'\n"},
        {{"leftovers", "--keep", "cache"}, "ostrova: leftovers does not take --keep\nsee 'ostrova help leftovers'\n"},
        {{"uninstall", "--yes=no", "Huebox"}, "ostrova: --yes takes no value\nsee 'ostrova help uninstall'\n"},
        {{"uninstall", "Huebox", "--only"}, "ostrova: --only needs a value\nsee 'ostrova help uninstall'\n"},
        {{"frobnicate"}, "ostrova: unknown command 'frobnicate'\nsee 'ostrova help'\n"},
        {{}, "ostrova: no command given\nsee 'ostrova help'\n"},
    };
    for (const auto& call : calls) {
        const auto result = ostrova(call.words);
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_EQ(result.err, call.err);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ostrova({"--help"}).exitCode, 0);
}

TEST_F(CliTest, TheVersionIsTheBundles)
{
    // The version as the bundle's Info.plist has it, read here on its own.
    const std::string bundle = std::filesystem::canonical(OSTROVA_CLI_IN_BUNDLE).parent_path().parent_path().parent_path();
    const auto info = plist::readDictionary(bundle + "/Contents/Info.plist");
    ASSERT_TRUE(info);
    const std::string version = plist::stringValue(*info, "CFBundleShortVersionString");
    ASSERT_FALSE(version.empty());
    for (const char* flag : {"--version", "-V"}) {
        const auto result = ostrova({flag});
        EXPECT_EQ(result.exitCode, 0) << flag << ": " << result.err;
        EXPECT_EQ(result.out, "ostrova " + version + "\n") << flag;
    }

    // A copy outside any bundle has no version to tell, and says so.
    const std::string loose = fixtures::copyExecutable(tree->at("/usr/local/bin/ostrova"), OSTROVA_CLI_IN_BUNDLE);
    const auto result = fixtures::runProcess({loose, "--version"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("no version"), std::string::npos) << result.err;
}

TEST_F(CliTest, HelpForEachCommand)
{
    for (const char* command : {"list", "scan", "uninstall", "leftovers", "restore", "help"}) {
        const auto help = ostrova({"help", command});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: ostrova ") + command, 0), 0u) << help.out;
        // Only that command's forms.
        if (std::string(command) == "help")
            continue;
        for (const char* other : {"list", "scan", "uninstall", "leftovers", "restore"}) {
            if (std::string(other) != command) {
                EXPECT_EQ(help.out.find(std::string("ostrova ") + other + " "), std::string::npos) << command << " shows " << other;
            }
        }
        EXPECT_EQ(ostrova({command, "--help"}).out, help.out) << command;
    }
    EXPECT_NE(ostrova({"help", "uninstall"}).out.find("--force-quit"), std::string::npos);
    EXPECT_NE(ostrova({"help", "restore"}).out.find("--last"), std::string::npos);

    const auto all = ostrova({"help"});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out, ostrova({"--help"}).out);
    for (const char* command : {"list", "scan", "uninstall", "leftovers", "restore"})
        EXPECT_NE(all.out.find(std::string("ostrova ") + command), std::string::npos) << command;

    const auto unknown = ostrova({"help", "frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("no command 'frobnicate'"), std::string::npos) << unknown.err;
    EXPECT_EQ(ostrova({"help", "list", "scan"}).exitCode, 2);
}

}  // namespace
