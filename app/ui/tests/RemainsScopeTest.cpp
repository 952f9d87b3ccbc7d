// The remains of gone applications in the real window (offscreen) over the demo Mac: the scope
// button, nothing ticked, search and sort of their own, ticks shared with the Uninstall button, and
// (as root, with the real daemon over its socket) a removal that ends on the completed screen and
// leaves the other remains alone, with a review asked for meanwhile applied on the way back.
#include "ScreenFixture.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/catalogue/RemovedApplicationsSetting.h"
#include "app/ui/AppDelegate.h"
#include "demo/DemoTree.h"
#include "platform/PathUtil.h"
#include "platform/UserDefaults.h"

#include <algorithm>

namespace {

// Fernbrook Mail is no gone application: its sync agent, loaded and present, is installed software.
const QStringList kGoneNames{"Quillpad", "io.glimmer.reader", "Harborlight VPN", "org.ridgeline.tracker"};

}  // namespace

class RemainsScopeTest : public QObject, ScreenFixture {
    Q_OBJECT

    void showRemains()
    {
        QVERIFY(screen()->btnRemainsScope->isEnabled());
        QTest::mouseClick(screen()->btnRemainsScope, Qt::LeftButton);
        QCOMPARE(screen()->scope(), MainViewController::ListScope::remains);
    }

    // Every tick box of the shown list below `parent`, all levels.
    QList<Qt::CheckState> allChecks(const QModelIndex& parent = {})
    {
        QList<Qt::CheckState> states;
        for (int row = 0; row < driver->model()->rowCount(parent); ++row) {
            const QModelIndex index = driver->model()->index(row, 0, parent);
            states << driver->checkState(index) << allChecks(index);
        }
        return states;
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }
    void init() { makeTree(demo::buildDemoTree); }
    void cleanup() { tearDown(); }

    // Nothing ticked; the agent's watch is the user's to turn off there, and the agent reads the
    // choice from the application's defaults.
    void theRemainsScopeListsTheGoneApplicationsWithNothingTicked()
    {
        openList();
        QVERIFY(screen()->cbWatchRemovedApplications->isHidden());
        QCOMPARE(screen()->scope(), MainViewController::ListScope::installed);
        QVERIFY(screen()->btnInstalledScope->state());
        QCOMPARE(screen()->btnRemainsScope->text(), QStringLiteral("Remains (4)"));
        // No gone application among the installed ones.
        for (const QString& name : kGoneNames)
            QVERIFY2(!driver->appRow(name).isValid(), qPrintable(name));

        showRemains();
        QVERIFY(screen()->btnRemainsScope->state() && !screen()->btnInstalledScope->state());
        QCOMPARE(screen()->lbAllProgram->text(), QStringLiteral("Remains of removed applications"));
        QStringList shown = driver->shownNames(), expected = kGoneNames;
        shown.sort();
        expected.sort();
        QCOMPARE(shown, expected);

        const QList<Qt::CheckState> checks = allChecks();
        QVERIFY(checks.size() > 20);
        QVERIFY(std::all_of(checks.begin(), checks.end(), [](Qt::CheckState state) { return state == Qt::Unchecked; }));

        // A gone application's row shows what it left; its groups and items are there to open.
        const QModelIndex quill = driver->appRow("Quillpad");
        UninstallApp* record = driver->appAt(quill);
        QVERIFY(record && record->isGone());
        QCOMPARE(quill.siblingAtColumn(AppListModel::kSizeColumn).data().toString(), QStringLiteral("10.3 MB"));
        driver->clickRow(quill);
        QVERIFY(driver->outline()->isExpanded(quill));
        const QModelIndex sandbox = driver->childNamed(quill, "Sandbox files");
        QVERIFY(sandbox.isValid());
        QCOMPARE(driver->model()->rowCount(sandbox), 2);
        const std::string sandboxPath = driver->model()->index(0, 0, sandbox).data(AppListModel::RevealPathRole).toString().toStdString();
        // Its bundle in the Trash is the user's to empty, not a remain.
        for (const auto& path : itemPaths(record))
            QVERIFY2(path.find("/.Trash/") == std::string::npos, path.c_str());
        QCOMPARE(footer(), QString());

        QCheckBox* box = screen()->cbWatchRemovedApplications;
        QVERIFY(box->isVisible() && box->isChecked());
        box->click();
        const auto stored = platform::UserDefaults("com.qzt.ostrova").objectForKey("WatchesForRemovedApplications");
        QVERIFY(stored && stored->get<bool>() && !*stored->get<bool>());
        QVERIFY(!RemovedApplicationsSetting::isOn());
        box->click();
        QVERIFY(RemovedApplicationsSetting::isOn());
        QTest::mouseClick(screen()->btnInstalledScope, Qt::LeftButton);
        QVERIFY(box->isHidden());

        // Protecting a gone application's identifier, or keeping one of its files out, takes it
        // from the remains shown; with nothing left it leaves the list.
        QVERIFY(!sandboxPath.empty());
        QVERIFY(ExclusionStore::protect("io.glimmer.reader") && ExclusionStore::add(sandboxPath, ""));
        driver->manager->applyExclusions();
        QTRY_COMPARE(screen()->btnRemainsScope->text(), QStringLiteral("Remains (3)"));
        showRemains();
        QVERIFY(!driver->appRow("io.glimmer.reader").isValid());
        QVERIFY(!itemPaths(driver->appAt(driver->appRow("Quillpad"))).count(sandboxPath));
    }

    void eachScopeKeepsItsOwnSearchSortAndTicks()
    {
        openList();
        // An installed application ticked before switching stays ticked, but the remains scope
        // neither counts nor removes it: it says it is there.
        driver->clickCheckBox(driver->appRow("Lumen Notes"));
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));

        showRemains();
        QCOMPARE(footer(), QStringLiteral("1 ticked under Applications, not included"));
        QVERIFY(screen()->deleteApps().empty());
        QVERIFY(!pressUninstall());
        QTRY_VERIFY(screen()->currentAlert());
        QCOMPARE(screen()->currentAlert()->text(), QStringLiteral("Please select the file to delete"));
        screen()->currentAlert()->close();

        driver->clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(driver->shownNames(), (QStringList{"org.ridgeline.tracker", "io.glimmer.reader", "Harborlight VPN", "Quillpad"}));

        screen()->searchField->setText("harborlight");
        QCOMPARE(driver->shownNames(), QStringList{"Harborlight VPN"});
        driver->clickCheckBox(driver->appRow("Harborlight VPN"));
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
        QVERIFY(footer().endsWith(QStringLiteral(" · 1 ticked under Applications, not included")));
        const auto chosen = screen()->deleteApps();
        QCOMPARE(chosen.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(chosen[0]->displayName()), QStringLiteral("Harborlight VPN"));
        // The sheet offers what the footer counts.
        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet);
        QCOMPARE(sheet->apps, chosen);
        sheet->btnCancel->click();

        // Back to the installed list: the field's text applies there too (no installed application
        // matches), and both ticks are kept while hidden, each counted in its own scope.
        QTest::mouseClick(screen()->btnInstalledScope, Qt::LeftButton);
        QCOMPARE(screen()->lbAllProgram->text(), QStringLiteral("All applications"));
        QVERIFY(driver->shownNames().isEmpty());
        QVERIFY(footer().endsWith(QStringLiteral(" · 1 ticked under Remains, not included")));
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(screen()->deleteApps().front()->displayName()), QStringLiteral("Lumen Notes"));
        showRemains();
        QCOMPARE(driver->shownNames(), QStringList{"Harborlight VPN"});
        QCOMPARE(driver->checkState(driver->appRow("Harborlight VPN")), Qt::Checked);
        screen()->searchField->clear();
        QCOMPARE(driver->shownNames().size(), 4);

        // A scope's order stays while the other is shown (the header still shows the size column
        // ascending: a second click turns it round).
        driver->clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(driver->shownNames().first(), QStringLiteral("Quillpad"));
        QTest::mouseClick(screen()->btnInstalledScope, Qt::LeftButton);
        QCOMPARE(driver->checkState(driver->appRow("Lumen Notes")), Qt::Checked);
        QCOMPARE(driver->outline()->header()->sortIndicatorSection(), -1);
        showRemains();
        QCOMPARE(driver->shownNames().first(), QStringLiteral("Quillpad"));
        QCOMPARE(driver->shownNames().last(), QStringLiteral("org.ridgeline.tracker"));
        QCOMPARE(driver->outline()->header()->sortIndicatorSection(), int(AppListModel::kSizeColumn));
        QCOMPARE(driver->outline()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
    }

    // With nothing left behind anywhere, the scope still opens once the scan has looked: empty,
    // but with the agent's setting.
    void anEmptyRemainsScopeOpensOnceScanned()
    {
        makeTree();
        addApp("Solo", "com.example.solo");
        openList(false);
        QVERIFY(!screen()->btnRemainsScope->isEnabled());
        QVERIFY(driver->scanAll());
        QCOMPARE(screen()->btnRemainsScope->text(), QStringLiteral("Remains"));
        showRemains();
        QCOMPARE(driver->model()->rowCount(), 0);
        QVERIFY(screen()->cbWatchRemovedApplications->isVisible());
    }

    // The agent's "Review": asked for before the scan has found anything, the window opens the
    // remains scope once it has, with exactly the named gone applications ticked.
    void aReviewAskedForAtLaunchTicksTheNamedRemainsOnceFound()
    {
        const std::vector<std::string> named = AppDelegate::remainsToReviewIn(
            {"Ostrova", "-psn_0_1", "--review-remains", "COM.QUILLPAD.NOTES", "net.harborlight.vpn", "com.example.none", "--other", "x"});
        QCOMPARE(named, (std::vector<std::string>{"COM.QUILLPAD.NOTES", "net.harborlight.vpn", "com.example.none"}));
        QVERIFY(AppDelegate::remainsToReviewIn({"Ostrova", "--review-remains"}).empty());
        QVERIFY(AppDelegate::remainsToReviewIn({"Ostrova"}).empty());

        driver = std::make_unique<ListScreenDriver>();
        screen()->applicationBundlePath = tree->at("/Applications/Ostrova.app");
        screen()->reviewRemainsOf(named);
        QCOMPARE(screen()->scope(), MainViewController::ListScope::installed);
        QVERIFY(driver->discover());
        QVERIFY(driver->scanAll());

        QCOMPARE(screen()->scope(), MainViewController::ListScope::remains);
        QStringList ticked;
        for (const auto& app : screen()->deleteApps()) {
            QVERIFY(app->isGone());
            QCOMPARE(app->selectionState(), kSelectionOn);
            ticked << QString::fromStdString(app->displayName());
        }
        ticked.sort();
        QCOMPARE(ticked, (QStringList{"Harborlight VPN", "Quillpad"}));
        QVERIFY(footer().startsWith(QStringLiteral("2 applications selected, ")));

        // Asked again once the list is there, it applies at once.
        screen()->showScope(MainViewController::ListScope::installed);
        screen()->reviewRemainsOf({"io.glimmer.reader"});
        QCOMPARE(screen()->scope(), MainViewController::ListScope::remains);
        QCOMPARE(screen()->deleteApps().size(), std::size_t(3));
    }

    // The reader's remains go to the Trash (in-process: the test's own rights reach them).
    void removingOneGoneApplicationEndsOnTheCompletedScreen()
    {
        if (::geteuid() != 0)
            QSKIP("the daemon runs as root");
        QVERIFY(startDaemon());
        openList();
        showRemains();
        const QModelIndex reader = driver->appRow("io.glimmer.reader");
        const std::set<std::string> readerFiles = itemPaths(driver->appAt(reader));
        QCOMPARE(readerFiles, (std::set<std::string>{tree->at("~/Library/Caches/io.glimmer.reader"),
                                                     tree->at("~/Library/Saved Application State/io.glimmer.reader.savedState")}));
        const auto before = fixtures::pathsBelow(tree->root());
        driver->clickCheckBox(reader);

        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet);
        QCOMPARE(sheet->lbTitle->text(), QStringLiteral("Remove the remains of “io.glimmer.reader”?"));
        sheet->btnOk->click();
        QTRY_VERIFY_WITH_TIMEOUT(!screen()->uninstallCompletedViewController->isHidden, 60000);
        FlatAppList* removed = screen()->uninstallCompletedViewController->list();
        QCOMPARE(removed->model()->rowCount(), 1);
        QCOMPARE(removed->model()->index(0, 0).data().toString(), QStringLiteral("io.glimmer.reader"));
        QCOMPARE(removed->model()->index(0, AppListModel::kSizeColumn).data().toString(), QStringLiteral("502 KB"));

        // Exactly the ticked remains went, into the Trash; every other path of the Mac is still there,
        // Ostrova's own files (its records, its daemon, its user defaults) aside.
        const std::string trash = tree->at("~/.Trash/"), defaults = platform::path::configHome();
        const auto listing = [&](std::set<std::string> paths) {
            std::erase_if(paths, [&](const std::string& path) {
                return path.rfind(trash, 0) == 0 || path.rfind(defaults, 0) == 0 ||
                       path.find("/Application Support/Ostrova") != std::string::npos || path.find("com.qzt.ostrova") != std::string::npos ||
                       path.find("com.halvane.ostrova") != std::string::npos;
            });
            return paths;
        };
        auto expected = listing(before);
        std::erase_if(expected, [&](const std::string& path) {
            return std::any_of(readerFiles.begin(), readerFiles.end(),
                               [&](const std::string& gone) { return path == gone || path.rfind(gone + "/", 0) == 0; });
        });
        const auto after = listing(fixtures::pathsBelow(tree->root()));
        QVERIFY2(after == expected, differenceOf(expected, after).c_str());
        QVERIFY(platform::fs::linkStatus(trash + "io.glimmer.reader"));
        QVERIFY(platform::fs::linkStatus(trash + "io.glimmer.reader.savedState"));

        // A review the agent asks for meanwhile waits for the list: ticked behind this screen, it
        // would be cleared on the way back.
        screen()->reviewRemainsOf({"COM.QUILLPAD.NOTES"});
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));

        QTest::mouseClick(screen()->uninstallCompletedViewController->btnCompleted, Qt::LeftButton);
        QTRY_VERIFY(screen()->mainView->isVisible());
        QCOMPARE(screen()->scope(), MainViewController::ListScope::remains);
        QVERIFY(!driver->appRow("io.glimmer.reader").isValid());
        QCOMPARE(driver->shownNames().size(), 3);
        QCOMPARE(screen()->btnRemainsScope->text(), QStringLiteral("Remains (3)"));
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));
        QCOMPARE(screen()->deleteApps().front()->displayName(), std::string("Quillpad"));
        QCOMPARE(driver->checkState(driver->appRow("Quillpad")), Qt::Checked);
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
    }
};

QTEST_MAIN(RemainsScopeTest)
#include "RemainsScopeTest.moc"
