// The list screen in a real window (offscreen) over a generated Mac with the real catalogue and
// scanner: loading, ticking, search, sorting, expansion, the Uninstall alerts and the way back.
#include "Auxiliary/Appearance.h"
#include "app/ui/AppListModel.h"
#include "app/ui/MainViewController.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "app/ui/RkFlatButton.h"
#include "app/ui/RkLoadAppView.h"
#include "app/ui/SpinnerView.h"
#include "app/ui/UninstallingViewController.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RkLabel.h"
#include "ListScreenDriver.h"
#include "fixtures/MacTree.h"
#include "platform/qt/QtMainQueue.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

using namespace std::chrono_literals;

namespace {

std::chrono::system_clock::time_point daysAgo(int days)
{
    return std::chrono::system_clock::now() - std::chrono::hours(24 * days);
}

// Five applications with files in the Library folders, one of them long unused.
void buildMac(fixtures::MacTree& tree)
{
    struct App {
        const char* name;
        const char* identifier;
        int usedDaysAgo;
        std::int64_t bytes;
    };
    const App apps[] = {
        {"Harbor Post", "com.harbor.post", 2, 300000},
        {"Lumen Sketch", "com.lumen.sketch", 100, 900000},
        {"Aster Diagram", "com.aster.diagram", 10, 50000},
        {"Orbit Planner", "com.orbit.planner", -1, 50000},
        {"Brinewood Console", "com.brinewood.console", -1, 700000},
    };
    for (const App& app : apps) {
        fixtures::AppBlueprint appBlueprint;
        appBlueprint.name = app.name;
        appBlueprint.identifier = app.identifier;
        if (app.usedDaysAgo >= 0)
            appBlueprint.lastUsed = daysAgo(app.usedDaysAgo);
        appBlueprint.files = {{"Contents/Resources/data.bin", app.bytes}};
        tree.addApp("/Applications", appBlueprint);
        const std::string id = app.identifier;
        tree.writeFile(tree.at("~/Library/Preferences/" + id + ".plist"), "<plist/>");
        tree.writeFile(tree.at("~/Library/Caches/" + id + "/cache.db"), std::string(2000, 'c'));
        tree.writeFile(tree.at("~/Library/Application Support/" + std::string(app.name) + "/store.db"), std::string(4000, 's'));
        tree.writeFile(tree.at("~/Library/Application Support/" + std::string(app.name) + "/settings.json"), "{}");
    }
}

}  // namespace

class MainViewControllerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;
    std::unique_ptr<ListScreenDriver> driver;
    MainViewController* screen = nullptr;
    std::shared_ptr<UninstallAppManager> manager;

    void openScreen(double discoveryDelay = 1e6)
    {
        driver = std::make_unique<ListScreenDriver>(discoveryDelay);
        screen = driver->screen;
        manager = driver->manager;
    }
    void discover() { QVERIFY(driver->discover()); }
    void scanAll() { QVERIFY(driver->scanAll()); }
    AppListFilter* model() { return driver->model(); }
    NSOutlineViewEx* outline() { return driver->outline(); }
    QModelIndex appRow(const QString& name) { return driver->appRow(name); }
    QModelIndex childNamed(const QModelIndex& parent, const QString& name) { return driver->childNamed(parent, name); }
    QStringList shownNames() { return driver->shownNames(); }
    void clickCheckBox(const QModelIndex& index) { driver->clickCheckBox(index); }
    void clickRow(const QModelIndex& index) { driver->clickRow(index); }
    void clickHeader(int section) { driver->clickHeader(section); }
    Qt::CheckState checkState(const QModelIndex& index) { return driver->checkState(index); }

private slots:
    void initTestCase()
    {
        platform::installQtMainQueue();
    }

    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
        buildMac(*tree);
    }

    void cleanup()
    {
        driver.reset();
        screen = nullptr;
        manager.reset();
        tree.reset();
    }

    void loadsThenListsEveryApplicationOnItsOwn()
    {
        openScreen(1.0);
        QVERIFY(screen->loadAppView->isVisible());
        QVERIFY(screen->loadAppView->spinner->isAnimating());
        QVERIFY(!screen->mainView->isVisible());
        QTRY_VERIFY(screen->mainView->isVisible());
        QVERIFY(!screen->loadAppView->isVisible());
        QCOMPARE(model()->rowCount(), 5);
        QTRY_VERIFY_WITH_TIMEOUT(screen->isSizeSortable(), 30000);
        QVERIFY(screen->searchField->isEnabled());
        // The list has the keys; Command-F gives them to the search field, Escape back to the list.
        QVERIFY(outline()->hasFocus());
        QTest::keyClick(outline(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(screen->searchField->hasFocus());
        QTest::keyClicks(screen->searchField, "lum");
        QCOMPARE(shownNames(), QStringList{"Lumen Sketch"});
        QTest::keyClick(screen->searchField, Qt::Key_Escape);
        QVERIFY(outline()->hasFocus());
        QCOMPARE(shownNames().size(), 5);
        // Tab goes from the list to the scope buttons and on to Uninstall.
        QTest::keyClick(outline(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(screen->btnInstalledScope));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(screen->btnUnistall));
        QVERIFY(!screen->btnUnistall->accessibleName().isEmpty());
        QVERIFY(!outline()->accessibleName().isEmpty());
        QVERIFY(!screen->searchField->accessibleName().isEmpty());
        outline()->setFocus();
        const QModelIndex harbor = appRow("Harbor Post");
        QVERIFY(model()->rowCount(harbor) >= 3);  // bundle, preferences, caches, support...
        QVERIFY(childNamed(harbor, "Preferences files").isValid());
        QCOMPARE(model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Recently used"));
        QCOMPARE(outline()->columnWidth(0), 500);
    }

    void applicationNotYetScannedShowsScanningAndCannotBeTicked()
    {
        openScreen();
        discover();
        const QModelIndex harbor = appRow("Harbor Post");
        QCOMPARE(harbor.siblingAtColumn(1).data().toString(), QStringLiteral("Scanning..."));
        QVERIFY(!(harbor.flags() & Qt::ItemIsUserCheckable));
        QCOMPARE(model()->rowCount(harbor), 0);  // nothing to expand yet
        clickCheckBox(harbor);
        QVERIFY(screen->deleteApps().empty());
        QVERIFY(!screen->searchField->isEnabled());

        // The size column does not sort before every application has been scanned.
        const QStringList before = shownNames();
        clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(shownNames(), before);
        QVERIFY(outline()->header()->sortIndicatorSection() != AppListModel::kSizeColumn);

        scanAll();
        QVERIFY(harbor.siblingAtColumn(1).data().toString().endsWith("KB"));
        QVERIFY(harbor.flags() & Qt::ItemIsUserCheckable);
        QVERIFY(model()->rowCount(harbor) > 0);
        clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(outline()->header()->sortIndicatorSection(), int(AppListModel::kSizeColumn));
        QVERIFY(driver->appAt(model()->index(0, 0))->totalSize <= driver->appAt(model()->index(4, 0))->totalSize);
    }

    void searchIgnoresLetterCaseAndKeepsHiddenChoices()
    {
        openScreen();
        discover();
        scanAll();
        clickCheckBox(appRow("Harbor Post"));
        QCOMPARE(screen->deleteApps().size(), size_t(1));
        QVERIFY(screen->lbSelected->text().startsWith(QStringLiteral("1 application selected, ")));

        QTest::keyClicks(screen->searchField, "LUMEN");
        QCOMPARE(shownNames(), QStringList{"Lumen Sketch"});
        QCOMPARE(screen->deleteApps().size(), size_t(1));  // Harbor Post stays chosen while hidden
        QCOMPARE(screen->deleteApps().front()->bundleIdentifier(), std::string("com.harbor.post"));
        clickCheckBox(appRow("Lumen Sketch"));
        QVERIFY(screen->lbSelected->text().startsWith(QStringLiteral("2 applications selected, ")));

        screen->searchField->clear();
        QCOMPARE(shownNames().size(), 5);
        QCOMPARE(checkState(appRow("Harbor Post")), Qt::Checked);
        QCOMPARE(screen->deleteApps().size(), size_t(2));
    }

    void countFollowsFileTicksAndChecksAreTriState()
    {
        openScreen();
        discover();
        scanAll();
        const QModelIndex harbor = appRow("Harbor Post");
        clickRow(harbor);
        QVERIFY(outline()->isExpanded(harbor));
        const QModelIndex support = childNamed(harbor, "Supporting documents");
        QVERIFY(support.isValid());
        clickRow(support);
        QVERIFY(outline()->isExpanded(support));
        QVERIFY(model()->rowCount(support) >= 1);
        const QModelIndex folder = model()->index(0, 0, support);

        clickCheckBox(folder);
        QCOMPARE(checkState(folder), Qt::Checked);
        QCOMPARE(screen->deleteApps().size(), size_t(1));
        QCOMPARE(checkState(harbor), Qt::PartiallyChecked);
        QVERIFY(screen->lbSelected->text().startsWith(QStringLiteral("1 application selected, ")));

        clickCheckBox(folder);  // the last ticked file goes: so does the application
        QVERIFY(screen->deleteApps().empty());
        QCOMPARE(screen->lbSelected->text(), QString());
        QCOMPARE(checkState(harbor), Qt::Unchecked);

        // A group whose items disagree is mixed; a click on it ticks them all.
        const QModelIndex bundleGroup = model()->index(0, 0, harbor);
        clickCheckBox(folder);
        const QModelIndex mixedParent = harbor;
        QCOMPARE(checkState(mixedParent), Qt::PartiallyChecked);
        clickCheckBox(harbor);  // mixed becomes on
        QCOMPARE(checkState(harbor), Qt::Checked);
        QCOMPARE(checkState(bundleGroup), Qt::Checked);
        QCOMPARE(checkState(support), Qt::Checked);
        clickCheckBox(harbor);
        QCOMPARE(checkState(harbor), Qt::Unchecked);
        QCOMPARE(checkState(support), Qt::Unchecked);
        QVERIFY(screen->deleteApps().empty());

        if (model()->rowCount(support) >= 1) {
            clickCheckBox(support);
            QCOMPARE(checkState(support), Qt::Checked);
            QCOMPARE(checkState(folder), Qt::Checked);
            QCOMPARE(screen->deleteApps().size(), size_t(1));
        }
    }

    void rowsExpandAndCollapseButAreNeverSelected()
    {
        openScreen();
        discover();
        scanAll();
        const QModelIndex lumen = appRow("Lumen Sketch");
        clickRow(lumen);
        QVERIFY(outline()->isExpanded(lumen));
        clickRow(lumen);
        QVERIFY(!outline()->isExpanded(lumen));
        QVERIFY(!outline()->selectionModel() || !outline()->selectionModel()->hasSelection());
        QVERIFY(screen->deleteApps().empty());  // a row click is not a tick
    }

    void longUnusedDatesAreOrange()
    {
        openScreen();
        discover();
        const QModelIndex lumen = appRow("Lumen Sketch").siblingAtColumn(AppListModel::kDateColumn);
        const QModelIndex aster = appRow("Aster Diagram").siblingAtColumn(AppListModel::kDateColumn);
        const QModelIndex orbit = appRow("Orbit Planner").siblingAtColumn(AppListModel::kDateColumn);
        QCOMPARE(lumen.data(Qt::ForegroundRole).value<QColor>(), appearance::warningTextColor(QApplication::palette()));
        QCOMPARE(lumen.data(Qt::ToolTipRole).toString(), QStringLiteral("Not opened for more than 90 days"));
        QVERIFY(!aster.data(Qt::ToolTipRole).isValid());
        QCOMPARE(model()->headerData(AppListModel::kDateColumn, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Dates in orange: not opened for more than 90 days"));
        QVERIFY(!aster.data(Qt::ForegroundRole).isValid());
        QCOMPARE(orbit.data().toString(), QStringLiteral("-"));
        QVERIFY(!orbit.data(Qt::ForegroundRole).isValid());

        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(AppListModel::isLongUnused(now.addDays(-91).toString("yyyy-M-d"), now));
        QVERIFY(!AppListModel::isLongUnused(now.addDays(-89).toString("yyyy-M-d"), now));
        QVERIFY(!AppListModel::isLongUnused("not a date", now));
    }

    void sortingByEachColumnIsStable()
    {
        openScreen();
        discover();
        scanAll();
        const QStringList catalogue = shownNames();
        {
            QList<std::int64_t> sizes;
            for (const QString& name : catalogue)
                sizes << driver->appAt(appRow(name))->totalSize;
            QVERIFY(!std::is_sorted(sizes.begin(), sizes.end()));
        }
        clickHeader(AppListModel::kNameColumn);
        QCOMPARE(shownNames(), (QStringList{"Aster Diagram", "Brinewood Console", "Harbor Post", "Lumen Sketch", "Orbit Planner"}));
        clickHeader(AppListModel::kNameColumn);
        QCOMPARE(shownNames().first(), QStringLiteral("Orbit Planner"));

        // Two applications never used ("-") keep their previous order relative to each other.
        clickHeader(AppListModel::kDateColumn);
        const QStringList byDate = shownNames();
        QCOMPARE(byDate.indexOf("Orbit Planner") < byDate.indexOf("Brinewood Console"), true);
        QCOMPARE(byDate.last(), QStringLiteral("Harbor Post"));  // the most recent date

        clickHeader(AppListModel::kSizeColumn);
        const QStringList bySize = shownNames();
        std::int64_t previous = -1;
        for (const QString& name : bySize) {
            const QModelIndex row = appRow(name);
            const std::int64_t size = driver->appAt(row)->totalSize;
            QVERIFY(size >= previous);
            previous = size;
        }
        QCOMPARE(bySize.size(), catalogue.size());

        // An expanded row stays expanded through a sort.
        const QModelIndex lumen = appRow("Lumen Sketch");
        clickRow(lumen);
        clickHeader(AppListModel::kNameColumn);
        QVERIFY(outline()->isExpanded(appRow("Lumen Sketch")));

        // The size order holds through a search and through a rescan, under the header's arrow (the
        // catalogue's order is not the size order).
        const auto sizesShown = [&] {
            QList<std::int64_t> sizes;
            for (const QString& name : shownNames())
                sizes << driver->appAt(appRow(name))->totalSize;
            return sizes;
        };
        clickHeader(AppListModel::kSizeColumn);
        const QStringList sorted = shownNames();
        const auto before = sizesShown();
        QVERIFY(std::is_sorted(before.begin(), before.end()));
        QTest::keyClicks(screen->searchField, "o");
        QStringList searched;
        for (const QString& name : sorted)
            if (name.contains(QLatin1Char('o'), Qt::CaseInsensitive))
                searched << name;
        QVERIFY(searched.size() > 1 && searched.size() < sorted.size());
        QCOMPARE(shownNames(), searched);
        screen->searchField->clear();
        QCOMPARE(shownNames(), sorted);
        // Command-R finds and scans every application again.
        QTest::keyClick(screen->searchField, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!screen->isSizeSortable());
        QTRY_VERIFY_WITH_TIMEOUT(screen->isSizeSortable() && screen->mainView->isVisible(), 30000);
        QCOMPARE(shownNames().size(), catalogue.size());
        const auto after = sizesShown();
        QVERIFY(std::is_sorted(after.begin(), after.end()));
        QCOMPARE(outline()->header()->sortIndicatorSection(), int(AppListModel::kSizeColumn));
        QCOMPARE(outline()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    // The list follows the application folders while the window is open: one dragged to the Trash
    // leaves, one copied in (into a vendor's folder made meanwhile) comes and is scanned; ticks stay.
    void applicationsThatComeAndGoWhileTheWindowIsOpenAreFollowed()
    {
        openScreen();
        discover();
        scanAll();
        clickCheckBox(appRow("Lumen Sketch"));
        const auto trash = tree->at("~/.Trash");
        tree->makeDirectories(trash);
        QVERIFY(std::rename(tree->at("/Applications/Harbor Post.app").c_str(), (trash + "/Harbor Post.app").c_str()) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(!appRow("Harbor Post").isValid(), 10000);
        QCOMPARE(shownNames().size(), 4);
        // What it left joins the remains at once, under its own name.
        QTRY_COMPARE_WITH_TIMEOUT(screen->btnRemainsScope->text(), QStringLiteral("Remains (1)"), 10000);
        QCOMPARE(checkState(appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(screen->deleteApps().size(), std::size_t(1));

        fixtures::AppBlueprint copied;
        copied.name = "Quartz Notes";
        copied.identifier = "com.quartz.notes";
        copied.files = {{"Contents/Resources/data.bin", 12345}};
        tree->writeFile(tree->at("~/Library/Caches/com.quartz.notes/cache.db"), std::string(100, 'c'));
        tree->addApp("/Applications/Quartz Tools", copied);
        // Scanned: its groups reach the list through the main queue.
        QTRY_VERIFY_WITH_TIMEOUT(appRow("Quartz Notes").isValid() && childNamed(appRow("Quartz Notes"), "Cache files").isValid(), 10000);
        QVERIFY(driver->appAt(appRow("Quartz Notes"))->isReady);
        QVERIFY(screen->isSizeSortable());
        QCOMPARE(shownNames().size(), 5);
        QCOMPARE(checkState(appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(manager->allApps().size(), std::size_t(5));
    }

    void uninstallButtonAlerts()
    {
        openScreen();
        discover();
        scanAll();
        QTest::mouseClick(screen->btnUnistall, Qt::LeftButton);
        QVERIFY(screen->currentAlert());
        QCOMPARE(screen->currentAlert()->text(), QStringLiteral("Please select the file to delete"));
        QCOMPARE(screen->currentAlert()->windowModality(), Qt::WindowModal);
        QCOMPARE(screen->currentAlert()->buttons().size(), 1);
        QCOMPARE(screen->currentAlert()->buttons().first()->text(), QStringLiteral("Ok"));
        screen->currentAlert()->buttons().first()->click();
        QTRY_VERIFY(!screen->currentAlert());

        // This test program does not run from the Applications folder.
        clickCheckBox(appRow("Harbor Post"));
        QTest::mouseClick(screen->btnUnistall, Qt::LeftButton);
        QVERIFY(screen->currentAlert());
        QCOMPARE(screen->currentAlert()->text(),
                 QStringLiteral("The application is not installed in the /Applications directory. To ensure full "
                                "functionality, please move the application to that directory."));
        screen->currentAlert()->buttons().first()->click();
        QTRY_VERIFY(!screen->currentAlert());
        QVERIFY(screen->uninstallingViewController->isHidden);
        QVERIFY(screen->mainView->isVisible());
    }

    void returnToListDropsWhatIsGone()
    {
        openScreen();
        discover();
        scanAll();
        clickCheckBox(appRow("Harbor Post"));
        clickCheckBox(appRow("Lumen Sketch"));
        // Lumen Sketch is hidden by a search when the list comes back.
        QTest::keyClicks(screen->searchField, "harbor");
        QCOMPARE(shownNames(), QStringList{"Harbor Post"});

        // Everything of Harbor Post went; of Lumen Sketch only its preferences.
        for (const auto& app : screen->deleteApps()) {
            for (const auto& group : app->fileGroups) {
                for (const auto& item : group->fileItem) {
                    const bool keep = app->bundleIdentifier() == "com.lumen.sketch" && item->filePath.find("Preferences") == std::string::npos;
                    if (!keep)
                        std::filesystem::remove_all(item->filePath);
                }
            }
        }
        // The end of a removal run drops what went from the catalogue; the completed screen shows.
        manager->removeApps({});
        manager->waitForRemovals();
        QCoreApplication::processEvents();
        screen->returnToList();

        QCOMPARE(screen->searchField->text(), QString());
        QVERIFY(!appRow("Harbor Post").isValid());
        QCOMPARE(shownNames().size(), 4);
        QVERIFY(screen->deleteApps().empty());
        QCOMPARE(screen->lbSelected->text(), QString());
        const QModelIndex lumen = appRow("Lumen Sketch");
        QCOMPARE(checkState(lumen), Qt::Unchecked);
        QVERIFY(!childNamed(lumen, "Preferences files").isValid());
        QVERIFY(childNamed(lumen, "Cache files").isValid());
        QCOMPARE(manager->allApps().size(), size_t(4));
    }

    void appearanceFollowsThePalette()
    {
        openScreen();
        discover();
        const QPalette saved = QApplication::palette();
        QPalette dark = saved;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        QTRY_COMPARE(screen->mainView->palette().color(QPalette::Window), appearance::colorFromHex("2F2F2D"));
        QCOMPARE(screen->lbTitle->palette().color(QPalette::WindowText), QColor(Qt::white));
        QPalette light = saved;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(light);
        QTRY_COMPARE(screen->mainView->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(screen->lbTitle->palette().color(QPalette::WindowText), appearance::colorFromHex("333333"));
        QApplication::setPalette(saved);
    }

    void packageExtensionsAreNotShownButOtherDotsAre()
    {
        QCOMPARE(AppListModel::nameWithoutExtension("Notes.app"), QStringLiteral("Notes"));
        QCOMPARE(AppListModel::nameWithoutExtension("Node.js"), QStringLiteral("Node.js"));
        QCOMPARE(AppListModel::nameWithoutExtension("Python 3.12"), QStringLiteral("Python 3.12"));
        QCOMPARE(AppListModel::nameWithoutExtension(".app"), QStringLiteral(".app"));
    }
};

QTEST_MAIN(MainViewControllerTest)
#include "MainViewControllerTest.moc"
