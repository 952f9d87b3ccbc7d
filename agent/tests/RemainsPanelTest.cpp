// The panel offering what applications taken to the Trash left, in process over a generated Mac:
// what it says, and what its buttons do to the files (the real catalogue engine, the real Trash).
#include "AgentTestSupport.h"
#include "ManualTimer.h"
#include "Auxiliary/ByteCountFormatter.h"
#include "agent/AppDelegate.h"
#include "agent/NotificationScheduler.h"
#include "agent/RemainsJudge.h"
#include "agent/RemainsPanelView.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/removal/RemovalRecord.h"
#include "fixtures/FileFlags.h"
#include "fixtures/MacTree.h"
#include "fixtures/PathsBelow.h"
#include "fixtures/Unprivileged.h"
#include "platform/DispatchQueue.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTranslator>

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace {

QString sizeText(std::int64_t bytes)
{
    return QString::fromStdString(format2ByteCountString(bytes));
}

fixtures::AppBlueprint blueprint(const std::string& name, const std::string& identifier, const std::string& script = "")
{
    fixtures::AppBlueprint app;
    app.name = name;
    app.identifier = identifier;
    app.executableScript = script;
    return app;
}

RemovedApplication removed(const std::string& identifier, const std::string& name, const std::string& icon = "")
{
    RemovedApplication application;
    application.identifier = identifier;
    application.displayName = name;
    application.iconPath = icon;
    return application;
}

class RemainsPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.activate();
        tree.makeDirectories(tree.at("~/.Trash"));
        // As in the agent: the removal's outcome reaches the panel through the event loop.
        dispatch::MainQueue::setExecutor([](dispatch::Task task) { QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection); });
    }
    void TearDown() override
    {
        dispatch::MainQueue::setExecutor(nullptr);
        for (const auto& path : immutable)
            fixtures::setImmutable(path, false);
    }

    // An application in /Applications with a support folder and a cache; the bytes of both.
    std::int64_t installWithRemains(const std::string& name, const std::string& identifier, std::int64_t bytes = 3000)
    {
        tree.addApp("/Applications", blueprint(name, identifier));
        tree.writeFile(tree.at("~/Library/Application Support/" + identifier + "/state.db"), std::string(bytes, 'a'));
        tree.writeFile(tree.at("~/Library/Caches/" + identifier + "/cache.bin"), std::string(bytes / 3, 'c'));
        return bytes + bytes / 3;
    }

    // Drags the applications to the Trash and judges them as the watch would.
    std::vector<RemovedApplication> trashAndJudge(const std::vector<std::pair<std::string, std::string>>& applications)
    {
        std::vector<RemovedApplication> candidates;
        for (const auto& [name, identifier] : applications) {
            const std::string to = tree.at("~/.Trash/" + name + ".app");
            EXPECT_EQ(::rename(tree.at("/Applications/" + name + ".app").c_str(), to.c_str()), 0);
            candidates.push_back(removed(identifier, name, to + "/Contents/Resources/AppIcon.icns"));
        }
        return RemainsJudge::judge(candidates);
    }

    // Shows the panel for `report`, presses "Remove remains" and waits for the outcome.
    bool removeThroughThePanel(const std::vector<RemovedApplication>& report)
    {
        delegate.showRemovedApplications(report);
        button("removeButton")->click();
        return processEventsUntil([&] { return outcomeShown(); });
    }

    // Sets the immutable flag (cleared again at the end); false where the file system keeps none.
    bool makeImmutable(const std::string& path)
    {
        return fixtures::setImmutable(path, true) && (immutable.push_back(path), true);
    }

    RemainsPanelView* panel() const { return delegate.remainsWindowController ? static_cast<RemainsPanelView*>(delegate.remainsWindowController->panel()) : nullptr; }
    QString headline() const { return panel()->findChild<QLabel*>("headline")->text(); }
    QString message() const { return panel()->findChild<QLabel*>("message")->text(); }
    QPushButton* button(const char* name) const { return panel()->findChild<QPushButton*>(name); }

    static long visibleRemainsPanels()
    {
        const auto windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(), [](const QWidget* w) { return w->isVisible() && w->findChild<RemainsPanelView*>(); });
    }

    bool panelShown() const { return panel() && window()->isVisible(); }
    QWidget* window() const { return delegate.remainsWindowController->window(); }
    bool outcomeShown() const { return panel() && button("doneButton")->isVisible(); }

    fixtures::MacTree tree;
    std::vector<std::string> immutable;
    ManualTimer* timer = nullptr;
    NotificationScheduler scheduler{platform::UserDefaults("com.qzt.ostrova.agent"), std::chrono::system_clock::now, ManualTimer::factory(&timer)};
    AppDelegate delegate{scheduler};
};

TEST_F(RemainsPanelTest, SeveralApplicationsAreCountedAndTheFirstNamed)
{
    std::int64_t bytes = 0;
    std::vector<std::pair<std::string, std::string>> names;
    for (const std::string name : {"Alder", "Birch", "Cedar", "Dogwood"}) {
        bytes += installWithRemains(name, "com.example." + name, 1000);
        names.emplace_back(name, "com.example." + name);
    }
    auto report = trashAndJudge(names);
    ASSERT_EQ(report.size(), 4u);
    delegate.showRemovedApplications(report);
    EXPECT_EQ(headline(), QStringLiteral("4 applications left %1 behind").arg(sizeText(bytes)));
    const QString listed = RemainsPanelView::listOfNames(delegate.removedApplications);
    EXPECT_TRUE(message().startsWith(listed + " were moved")) << message().toStdString();
    EXPECT_TRUE(listed.endsWith(" and 2 more")) << listed.toStdString();

    report.resize(3);
    EXPECT_EQ(RemainsPanelView::listOfNames(report).count(", "), 1);
    EXPECT_TRUE(RemainsPanelView::listOfNames(report).contains(" and ")) << RemainsPanelView::listOfNames(report).toStdString();
    report.resize(1);
    EXPECT_EQ(RemainsPanelView::listOfNames(report), QString::fromStdString(report[0].displayName));
}

// Every path at or below the folders, with the mode and the bytes of what lies there.
std::map<std::string, std::string> contentsBelow(const std::vector<std::string>& folders)
{
    std::map<std::string, std::string> contents;
    for (const auto& folder : folders)
        for (const auto& path : fixtures::pathsBelow(folder)) {
            const auto status = platform::fs::linkStatus(path);
            contents[path] = std::to_string(status ? status->st_mode : 0) + ":" +
                             (platform::fs::isDirectoryNoFollow(path) ? "" : platform::fs::readFile(path).value_or("?"));
        }
    return contents;
}

// One application is named with its icon and the bytes it left; Remove takes exactly what was
// listed to the Trash, leaves the bundle and records it; Put Back returns every item to its place
// and is offered only while the Trash holds them.
TEST_F(RemainsPanelTest, RemoveRemainsTakesExactlyWhatWasListedToTheTrashAndPutBackReturnsIt)
{
    const std::int64_t bytes = installWithRemains("Kite", "com.example.kite", 6000);
    installWithRemains("Heron", "com.example.heron");  // stays installed
    const auto report = trashAndJudge({{"Kite", "com.example.kite"}});
    ASSERT_EQ(report.size(), 1u);
    const std::set<std::string> remains(report[0].remains.begin(), report[0].remains.end());
    ASSERT_EQ(remains.size(), 2u);
    const auto contents = contentsBelow(report[0].remains);
    // Written after the panel listed what there was: not offered, so not removed.
    const std::string later = tree.at("~/Library/Preferences/com.example.kite.plist");
    tree.writeFile(later, "later");
    const auto trashedBundle = fixtures::pathsBelow(tree.at("~/.Trash/Kite.app"));
    auto before = fixtures::pathsBelow(tree.root());
    ASSERT_TRUE(before.count(later));

    delegate.showRemovedApplications(report);
    ASSERT_TRUE(panelShown());
    const QString shown = QStringLiteral("Kite left %1 behind").arg(sizeText(bytes));
    EXPECT_EQ(headline(), shown);
    EXPECT_EQ(window()->windowTitle(), shown);
    EXPECT_TRUE(message().startsWith("Kite was moved to the Trash")) << message().toStdString();
    // The icon was read from the bundle in the Trash: the generated one is a tile of its colour.
    const QImage icon = panel()->findChild<QLabel*>("applicationIcon")->pixmap().toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(QColor(icon.pixel(icon.width() / 2, icon.height() * 3 / 10)).rgb() & 0xFFFFFF, fixtures::AppBlueprint().iconColor.value());
    for (const char* name : {"removeButton", "reviewButton", "notNowButton"})
        EXPECT_TRUE(button(name)->isVisible()) << name;
    button("removeButton")->click();
    EXPECT_FALSE(button("removeButton")->isEnabled());
    ASSERT_TRUE(processEventsUntil([&] { return outcomeShown(); }));

    EXPECT_EQ(headline(), QStringLiteral("Removed what Kite left"));
    EXPECT_EQ(message(), QStringLiteral("Moved 2 items (%1) to the Trash; emptying the Trash frees the space.").arg(sizeText(bytes)));
    EXPECT_FALSE(button("reviewLeftButton")->isVisible());
    // Everything below the listed folders went, into the Trash; nothing else changed but the
    // Trash and the record of the removal.
    auto after = fixtures::pathsBelow(tree.root());
    for (auto* listing : {&before, &after})
        std::erase_if(*listing, [&](const std::string& path) {
            return path.starts_with(tree.at("~/.Trash/")) || path.starts_with(tree.at("~/Library/Application Support/Ostrova"));
        });
    std::set<std::string> expected;
    for (const auto& path : before)
        if (!remains.count(path) && !std::any_of(remains.begin(), remains.end(), [&](const std::string& remain) { return path.starts_with(remain + "/"); }))
            expected.insert(path);
    EXPECT_EQ(after, expected);
    EXPECT_TRUE(platform::fs::exists(later));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/.Trash/com.example.kite/state.db")));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/.Trash/com.example.kite 2/cache.bin")));
    EXPECT_EQ(fixtures::pathsBelow(tree.at("~/.Trash/Kite.app")), trashedBundle);

    // The record Put Back uses lists both items where they went.
    const auto records = RemovalRecord::all();
    ASSERT_EQ(records.size(), 1u);
    std::set<std::string> recorded, expectedRecorded;
    for (const auto& item : records[0].items)
        recorded.insert(item.originalPath);
    for (const auto& remain : remains)
        expectedRecorded.insert(std::filesystem::weakly_canonical(remain).string());
    EXPECT_EQ(recorded, expectedRecorded);

    ASSERT_TRUE(button("putBackButton")->isVisible());
    button("putBackButton")->click();
    ASSERT_FALSE(button("doneButton")->isEnabled()) << "the buttons wait while the items go back";
    ASSERT_TRUE(processEventsUntil([&] { return button("doneButton")->isEnabled(); }));
    EXPECT_EQ(headline(), QStringLiteral("Put back what Kite left"));
    EXPECT_EQ(message(), QStringLiteral("Put back 2 items (%1).").arg(sizeText(bytes)));
    EXPECT_FALSE(button("putBackButton")->isVisible());
    EXPECT_EQ(contentsBelow(report[0].remains), contents);
    EXPECT_EQ(fixtures::pathsBelow(tree.at("~/.Trash"), tree.at("~/.Trash/Kite.app")), std::set<std::string>{tree.at("~/.Trash")})
        << "nothing of the remains is left in the Trash";
    // Nothing of a removal in the Trash: no record, or a record whose items are all back.
    RemainsRemoval::Outcome outcome;
    outcome.removed = report[0].remains;
    for (const auto& record : {std::optional<RemovalRecord>(), std::optional<RemovalRecord>(RemovalRecord::all().at(0))}) {
        outcome.record = record;
        panel()->showOutcome(outcome);
        EXPECT_TRUE(button("doneButton")->isVisible());
        EXPECT_FALSE(button("putBackButton")->isVisible()) << (record ? "record" : "no record");
    }

    button("doneButton")->click();
    EXPECT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
}

// A cache that cannot go and a record that cannot be written: both are said, and what was left
// can be reviewed.
TEST_F(RemainsPanelTest, WhatCouldNotBeRemovedOrRecordedIsSaidAndCanBeReviewed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the immutable flag needs root";
    installWithRemains("Kite", "com.example.kite");
    const auto report = trashAndJudge({{"Kite", "com.example.kite"}});
    ASSERT_EQ(report.size(), 1u);
    const std::string stuck = tree.at("~/Library/Caches/com.example.kite");
    const std::string records = RemovalRecord::folder();
    tree.makeDirectories(records);
    if (!makeImmutable(stuck) || !makeImmutable(records))
        GTEST_SKIP() << "this file system keeps no immutable flag";

    ASSERT_TRUE(removeThroughThePanel(report));
    EXPECT_EQ(headline(), QStringLiteral("Removed part of what Kite left"));
    EXPECT_TRUE(message().startsWith(QStringLiteral("Moved 1 item (%1) to the Trash; emptying the Trash frees the space. "
                                                    "The record of this removal could not be written, so it cannot be put back.")
                                         .arg(sizeText(3000))))
        << message().toStdString();
    EXPECT_TRUE(message().endsWith("Left, as they could not be removed: com.example.kite.")) << message().toStdString();
    EXPECT_TRUE(RemovalRecord::all().empty());
    EXPECT_EQ(panel()->findChild<QLabel*>("message")->toolTip(), QString::fromStdString(stuck));
    EXPECT_TRUE(button("reviewLeftButton")->isVisible());
    EXPECT_TRUE(platform::fs::exists(stuck));
    EXPECT_FALSE(platform::fs::exists(tree.at("~/Library/Application Support/com.example.kite")));

    // Where the administrator's password was not given, the panel says so beside what was left.
    RemainsRemoval::Outcome refused;
    refused.left = {tree.at("/Library/Application Support/com.example.kite")};
    refused.record = RemovalRecord::begin({"Kite"});
    refused.record->administratorRightRefused = true;
    panel()->showOutcome(refused);
    EXPECT_TRUE(message().endsWith("An administrator's password was not given, so what lies outside your home folder was left."))
        << message().toStdString();
}

TEST_F(RemainsPanelTest, NotNowChangesNothingAndReviewOpensTheWindowOnTheRemains)
{
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Heron", "com.example.heron");
    // The main application: its program writes the words it was started with.
    const std::string marker = tree.at("/opened.txt");
    tree.addApp("/Applications", blueprint("Ostrova", "com.qzt.ostrova", "#!/bin/sh\necho \"$*\" > '" + marker + ".part'; mv '" + marker + ".part' '" + marker + "'\n"));
    const auto report = trashAndJudge({{"Kite", "com.example.kite"}, {"Heron", "com.example.heron"}});
    ASSERT_EQ(report.size(), 2u);
    const auto before = fixtures::pathsBelow(tree.root());

    delegate.showRemovedApplications(report);
    button("notNowButton")->click();
    ASSERT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    EXPECT_EQ(fixtures::pathsBelow(tree.root()), before);
    EXPECT_FALSE(platform::fs::exists(marker));

    // An identifier is whatever a bundle's Info.plist says: one that reads as an option of the
    // toolkit (a plug-in path to load) never reaches the command line.
    auto withForged = report;
    for (const char* forged : {"-platformpluginpath", "/tmp/plugins"})
        withForged.push_back(removed(forged, "Forged"));
    delegate.showRemovedApplications(withForged);
    button("reviewButton")->click();
    ASSERT_TRUE(processEventsUntil([&] { return platform::fs::exists(marker); }));
    EXPECT_EQ(platform::fs::readFile(marker).value_or(""), "--review-remains com.example.kite com.example.heron\n");
    EXPECT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    auto now = fixtures::pathsBelow(tree.root());
    now.erase(marker);
    EXPECT_EQ(now, before);
}

TEST_F(RemainsPanelTest, AReportWhileThePanelWaitsJoinsItAndOneWhileRemovingWaitsItsTurn)
{
    for (const auto& [name, identifier] : {std::pair{"Kite", "com.example.kite"}, {"Heron", "com.example.heron"}, {"Wren", "com.example.wren"}})
        installWithRemains(name, identifier);
    const auto kite = trashAndJudge({{"Kite", "com.example.kite"}});
    const auto heron = trashAndJudge({{"Heron", "com.example.heron"}});
    ASSERT_EQ(kite.size() + heron.size(), 2u);

    delegate.showRemovedApplications(kite);
    delegate.showRemovedApplications(heron);
    EXPECT_EQ(visibleRemainsPanels(), 1);
    EXPECT_EQ(headline().left(14), QStringLiteral("2 applications"));
    // The same application reported again is not listed twice.
    delegate.showRemovedApplications(kite);
    EXPECT_EQ(panel()->applications().size(), 2u);

    button("removeButton")->click();
    const auto wren = trashAndJudge({{"Wren", "com.example.wren"}});
    ASSERT_EQ(wren.size(), 1u);
    delegate.showRemovedApplications(wren);
    // The panel at work keeps what it removes and says so.
    ASSERT_TRUE(processEventsUntil([&] { return outcomeShown(); }));
    EXPECT_EQ(headline(), QStringLiteral("Removed what 2 applications left"));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Caches/com.example.wren")));

    button("doneButton")->click();
    ASSERT_TRUE(panelShown());
    EXPECT_EQ(visibleRemainsPanels(), 1);
    EXPECT_TRUE(headline().startsWith("Wren left")) << headline().toStdString();
}

TEST_F(RemainsPanelTest, WhicheverPanelComesSecondRestsBelowTheOther)
{
    installWithRemains("Kite", "com.example.kite");
    const auto report = trashAndJudge({{"Kite", "com.example.kite"}});
    ASSERT_EQ(report.size(), 1u);
    // Shows the reminder or the panel and waits until it has faded in; answers its window.
    const auto settled = [&](bool reminder) {
        reminder ? delegate.showNotification() : delegate.showRemovedApplications(report);
        const QWidget* shown = reminder ? delegate.notificationWindowController->window() : window();
        EXPECT_TRUE(processEventsUntil([&] { return shown->windowOpacity() == 1.0; }));
        return shown;
    };
    const QWidget* reminder = settled(true);
    const int corner = reminder->y();
    const QWidget* shown = settled(false);
    EXPECT_EQ(shown->y(), reminder->y() + reminder->height() + 10);
    EXPECT_EQ(shown->x() + shown->width(), reminder->x() + reminder->width());

    // Alone, it takes the corner itself.
    delegate.dismissNotification();
    ASSERT_TRUE(processEventsUntil([&] { return !reminder->isVisible(); }));
    const QWidget* alone = settled(false);
    EXPECT_EQ(alone->y(), corner);

    // A reminder that comes while the panel is on screen goes below it.
    const QWidget* later = settled(true);
    EXPECT_EQ(alone->y(), corner);
    EXPECT_EQ(later->y(), alone->y() + alone->height() + 10);
}

TEST_F(RemainsPanelTest, OnlyTheItemsThePanelListsAreTicked)
{
    installWithRemains("Kite", "com.example.kite");
    auto report = trashAndJudge({{"Kite", "com.example.kite"}});
    ASSERT_EQ(report.size(), 1u);
    ASSERT_EQ(report[0].remains.size(), 2u);
    // A record the catalogue holds beside what is listed (the cache) stays.
    std::erase(report[0].remains, tree.at("~/Library/Caches/com.example.kite"));
    ASSERT_TRUE(removeThroughThePanel(report));
    EXPECT_EQ(headline(), QStringLiteral("Removed what Kite left"));
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Caches/com.example.kite/cache.bin")));
    EXPECT_FALSE(platform::fs::exists(tree.at("~/Library/Application Support/com.example.kite")));
}

// What the user keeps is never offered: a protected application's remains, an excluded item; and
// an item excluded while the panel is up stays when "Remove remains" is pressed.
TEST_F(RemainsPanelTest, ExclusionsAndProtectedApplicationsAreNeverOfferedNorRemoved)
{
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Wren", "com.example.wren");
    installWithRemains("Lark", "com.example.lark");
    const std::string kiteCache = tree.at("~/Library/Caches/com.example.kite");
    const std::string larkSupport = tree.at("~/Library/Application Support/com.example.lark");
    ASSERT_TRUE(ExclusionStore::protect("COM.example.wren"));
    ASSERT_TRUE(ExclusionStore::add(tree.at("~/Library/Caches/COM.EXAMPLE.KITE/"), ""));
    auto report = trashAndJudge({{"Kite", "com.example.kite"}, {"Wren", "com.example.wren"}, {"Lark", "com.example.lark"}});
    std::map<std::string, std::set<std::string>> offered;
    for (const auto& application : report)
        offered[application.identifier].insert(application.remains.begin(), application.remains.end());
    EXPECT_EQ(offered, (std::map<std::string, std::set<std::string>>{
                           {"com.example.kite", {tree.at("~/Library/Application Support/com.example.kite")}},
                           {"com.example.lark", {larkSupport, tree.at("~/Library/Caches/com.example.lark")}}}));

    delegate.showRemovedApplications(report);
    ASSERT_TRUE(panelShown());
    ASSERT_TRUE(ExclusionStore::add(larkSupport, "com.example.lark"));
    button("removeButton")->click();
    ASSERT_TRUE(processEventsUntil([&] { return outcomeShown(); }));
    EXPECT_TRUE(platform::fs::exists(larkSupport + "/state.db"));
    EXPECT_TRUE(platform::fs::exists(kiteCache + "/cache.bin"));
    EXPECT_FALSE(platform::fs::exists(tree.at("~/Library/Caches/com.example.lark")));
    EXPECT_FALSE(platform::fs::exists(tree.at("~/Library/Application Support/com.example.kite")));
    for (const char* folder : {"Application Support", "Caches"})
        EXPECT_TRUE(platform::fs::exists(tree.at(std::string("~/Library/") + folder + "/com.example.wren"))) << folder;
}

// The Mac may change between the judgement and the removal: an updater installs Kite again, and
// another folder takes the place of Heron's cache. Both stay, and the panel says why.
TEST_F(RemainsPanelTest, WhatIsNoLongerWhatWasJudgedIsLeftWithWhy)
{
    installWithRemains("Kite", "com.example.kite");
    installWithRemains("Heron", "com.example.heron");
    const auto report = trashAndJudge({{"Kite", "com.example.kite"}, {"Heron", "com.example.heron"}});
    ASSERT_EQ(report.size(), 2u);
    tree.addApp("/Applications", blueprint("Kite", "com.example.kite"));
    // Made before the old one goes, so that it cannot take over its inode.
    const std::string cache = tree.at("~/Library/Caches/com.example.heron");
    tree.writeFile(tree.at("~/Library/Caches/new/fresh.bin"), "new");
    ASSERT_EQ(::rename(cache.c_str(), tree.at("~/heron-cache").c_str()), 0);
    ASSERT_EQ(::rename(tree.at("~/Library/Caches/new").c_str(), cache.c_str()), 0);
    const auto kiteData = fixtures::pathsBelow(tree.at("~/Library/Application Support/com.example.kite"));

    ASSERT_TRUE(removeThroughThePanel(report));
    EXPECT_EQ(headline(), QStringLiteral("Removed part of what 2 applications left"));
    EXPECT_EQ(fixtures::pathsBelow(tree.at("~/Library/Application Support/com.example.kite")), kiteData);
    EXPECT_TRUE(platform::fs::exists(tree.at("~/Library/Caches/com.example.kite/cache.bin")));
    EXPECT_TRUE(platform::fs::exists(cache + "/fresh.bin"));
    EXPECT_FALSE(platform::fs::exists(tree.at("~/Library/Application Support/com.example.heron")));
    EXPECT_TRUE(message().contains("Left, as an application with the same identifier is installed again: com.example.kite, com.example.kite."))
        << message().toStdString();
    EXPECT_TRUE(message().endsWith("Left, as another file now lies in their place: com.example.heron.")) << message().toStdString();
    EXPECT_FALSE(message().contains("could not be removed")) << message().toStdString();

    // All of it left on purpose: nothing is removed, and nothing failed.
    RemainsRemoval::Outcome kept;
    kept.left = kept.leftAsInstalled = {tree.at("~/Library/Caches/com.example.kite")};
    panel()->showOutcome(kept);
    EXPECT_EQ(headline(), QStringLiteral("Nothing removed of what 2 applications left"));
}

// Gives one English text of the panel other words, as another language would.
class OtherWords : public QTranslator {
public:
    OtherWords(std::string source, QString words) : source_(std::move(source)), words_(std::move(words)) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return std::string_view(context) == "RemainsPanelView" && source_ == sourceText ? words_ : QString();
    }

private:
    std::string source_;
    QString words_;
};

TEST_F(RemainsPanelTest, ThePanelGrowsOnlyAsMuchAsItsButtonsWordsNeed)
{
    RemovedApplication kite = removed("com.example.kite", "Kite");
    kite.remainsSize = 3000;
    // An outcome that offers Put Back: one item still in the Trash.
    RemainsRemoval::Outcome outcome;
    outcome.removed = {tree.at("~/Library/Caches/com.example.kite")};
    outcome.record = RemovalRecord::begin({"Kite"});
    RemovalRecord::Item item;
    item.originalPath = outcome.removed[0];
    item.trashPath = tree.at("~/.Trash/com.example.kite");
    item.state = RemovalRecord::State::moved;
    outcome.record->items.push_back(item);
    tree.writeFile(item.trashPath, "cache");

    const QString longWords = QStringLiteral("Take away all that these applications left behind on this Mac");
    struct Case {
        std::string source;  // "": English as built, whose width depends on the fonts
        QString words;
        std::optional<bool> wider;
    };
    const std::vector<Case> cases = {
        {"", "", std::nullopt}, {"Remove remains", "Remove", false}, {"Remove remains", longWords, true}, {"Put Back", longWords, true}};
    for (const auto& row : cases) {
        std::optional<OtherWords> words;
        if (!row.source.empty())
            QCoreApplication::installTranslator(&words.emplace(row.source, row.words));
        RemainsPanelView view({kite}, [] {}, [] {}, [] {});
        view.show();
        EXPECT_GE(view.width(), RemainsPanelView::panelWidth);
        if (row.wider) {
            EXPECT_EQ(view.width() > RemainsPanelView::panelWidth, *row.wider) << row.source;
        }
        for (const bool done : {false, true}) {
            if (done)
                view.showOutcome(outcome);
            view.layout()->activate();
            ASSERT_EQ(view.findChild<QPushButton*>("putBackButton")->isVisible(), done);
            for (const QPushButton* shown : view.findChildren<QPushButton*>()) {
                if (!shown->isVisible())
                    continue;
                const std::string name = row.words.toStdString() + " / " + shown->objectName().toStdString();
                EXPECT_GE(shown->width(), shown->sizeHint().width()) << name;
                EXPECT_TRUE(view.rect().contains(QRect(shown->mapTo(&view, QPoint()), shown->size()))) << name;
            }
        }
    }
}

// Asking for the daemon means asking for an administrator: only where the user's rights fall short.
TEST(RemainsRemovalTest, TheDaemonIsNeededOnlyWhereTheUsersRightsFallShort)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the places are made for another user by root";
    fixtures::MacTree tree;
    const std::string own = tree.at("/Users/someone/Library/Caches");
    const std::string sticky = tree.at("/private/tmp");
    tree.writeFile(own + "/com.example.file", "x");
    tree.makeDirectories(own + "/com.example.folder");
    tree.makeDirectories(own + "/com.example.roots");
    tree.writeFile(tree.at("/Library/Application Support/com.example.system/db"), "x");
    tree.writeFile(sticky + "/com.example.others", "x");
    tree.writeFile(sticky + "/com.example.mine", "x");
    for (const auto& path : {tree.at("/Users/someone"), tree.at("/Users/someone/Library"), own, own + "/com.example.file",
                             own + "/com.example.folder", sticky + "/com.example.mine"})
        ASSERT_EQ(::chown(path.c_str(), fixtures::unprivilegedUid(), fixtures::unprivilegedGid()), 0) << path;
    ::chmod((own + "/com.example.roots").c_str(), 0755);

    // A folder of root's in the user's folder needs it: moving it rewrites its "..".
    const std::vector<std::pair<std::string, bool>> cases = {
        {own + "/com.example.file", false}, {own + "/com.example.folder", false}, {sticky + "/com.example.mine", false},
        {own + "/com.example.roots", true}, {tree.at("/Library/Application Support/com.example.system"), true},
        {sticky + "/com.example.others", true}};
    const int wrong = fixtures::runUnprivileged([&] {
        int bits = 0;
        for (std::size_t i = 0; i < cases.size(); ++i)
            bits |= RemainsRemoval::needsDaemon(cases[i].first) != cases[i].second ? 1 << i : 0;
        return bits;
    });
    EXPECT_EQ(wrong, 0) << "each bit a place of the list answered wrongly";
}

}  // namespace
