// The list screen in a real window (offscreen) over a generated Mac with the real catalogue and
// scanner: loading, ticking, search, sorting, expansion, the Uninstall alerts and the way back.
#include "Auxiliary/Appearance.h"
#include "ScreenFixture.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/ui/RkLoadAppView.h"
#include "app/ui/SpinnerView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>

#include <algorithm>
#include <filesystem>

namespace {

// Five applications with files in the Library folders, one of them long unused.
void buildMac(fixtures::MacTree& tree)
{
    addApps(tree, {{"Harbor Post", "com.harbor.post", 2, 300000}, {"Lumen Sketch", "com.lumen.sketch", 100, 900000},
                   {"Aster Diagram", "com.aster.diagram", 10, 50000}, {"Orbit Planner", "com.orbit.planner", -1, 50000},
                   {"Brinewood Console", "com.brinewood.console", -1, 700000}});
}

}  // namespace

class MainViewControllerTest : public QObject, ScreenFixture {
    Q_OBJECT

    void openScreen(double discoveryDelay = 1e6) { driver = std::make_unique<ListScreenDriver>(discoveryDelay); }
    bool pathShown(const char* appName, const std::string& path) const
    {
        const QModelIndex app = driver->appRow(appName);
        for (int g = 0; g < driver->model()->rowCount(app); ++g) {
            const QModelIndex group = driver->model()->index(g, 0, app);
            for (int f = 0; f < driver->model()->rowCount(group); ++f)
                if (driver->model()->index(f, 0, group).data(AppListModel::RevealPathRole).toString().toStdString() == path)
                    return true;
        }
        return false;
    }
    void openScanned()
    {
        openScreen();
        QVERIFY(driver->discover());
        QVERIFY(driver->scanAll());
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }
    void init() { makeTree(buildMac); }
    void cleanup() { tearDown(); }

    void loadsThenListsEveryApplicationOnItsOwn()
    {
        openScreen(1.0);
        QVERIFY(screen()->loadAppView->isVisible() && screen()->loadAppView->spinner->isAnimating());
        QVERIFY(!screen()->mainView->isVisible());
        QTRY_VERIFY(screen()->mainView->isVisible());
        QVERIFY(!screen()->loadAppView->isVisible());
        QCOMPARE(driver->model()->rowCount(), 5);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->isSizeSortable(), 30000);
        QVERIFY(screen()->searchField->isEnabled());
        // The list has the keys; Command-F gives them to the search field, Escape back to the list.
        QVERIFY(driver->outline()->hasFocus());
        QTest::keyClick(driver->outline(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(screen()->searchField->hasFocus());
        QTest::keyClicks(screen()->searchField, "lum");
        QCOMPARE(driver->shownNames(), QStringList{"Lumen Sketch"});
        QTest::keyClick(screen()->searchField, Qt::Key_Escape);
        QVERIFY(driver->outline()->hasFocus());
        QCOMPARE(driver->shownNames().size(), 5);
        // Tab goes from the list to the scope buttons, Exclusions and on to Uninstall.
        QTest::keyClick(driver->outline(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(screen()->btnInstalledScope));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(screen()->btnExclusions));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(screen()->btnUnistall));
        for (QWidget* widget : std::initializer_list<QWidget*>{screen()->btnUnistall, screen()->btnExclusions, driver->outline(), screen()->searchField})
            QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
        driver->outline()->setFocus();
        const QModelIndex harbor = driver->appRow("Harbor Post");
        QVERIFY(driver->model()->rowCount(harbor) >= 3);  // bundle, preferences, caches, support...
        QVERIFY(driver->childNamed(harbor, "Preferences files").isValid());
        QCOMPARE(driver->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(driver->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Recently used"));
        QCOMPARE(driver->outline()->columnWidth(0), 500);
    }

    // Before its scan a row says so and cannot be ticked; dates, their colour and the palette are
    // there from the start.
    void beforeItsScanARowShowsScanningAndCannotBeTicked()
    {
        openScreen();
        QVERIFY(driver->discover());
        const QModelIndex harbor = driver->appRow("Harbor Post");
        QCOMPARE(harbor.siblingAtColumn(1).data().toString(), QStringLiteral("Scanning..."));
        QVERIFY(!(harbor.flags() & Qt::ItemIsUserCheckable));
        QCOMPARE(driver->model()->rowCount(harbor), 0);  // nothing to expand yet
        driver->clickCheckBox(harbor);
        QVERIFY(screen()->deleteApps().empty());
        QVERIFY(!screen()->searchField->isEnabled());

        const auto dateOf = [&](const char* name) { return driver->appRow(name).siblingAtColumn(AppListModel::kDateColumn); };
        const QModelIndex lumen = dateOf("Lumen Sketch"), aster = dateOf("Aster Diagram"), orbit = dateOf("Orbit Planner");
        QCOMPARE(lumen.data(Qt::ForegroundRole).value<QColor>(), appearance::warningTextColor(QApplication::palette()));
        QCOMPARE(lumen.data(Qt::ToolTipRole).toString(), QStringLiteral("Not opened for more than 90 days"));
        QCOMPARE(driver->model()->headerData(AppListModel::kDateColumn, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Dates in orange: not opened for more than 90 days"));
        QVERIFY(!aster.data(Qt::ToolTipRole).isValid() && !aster.data(Qt::ForegroundRole).isValid());
        QVERIFY(orbit.data().toString() == "-" && !orbit.data(Qt::ForegroundRole).isValid());
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(AppListModel::isLongUnused(now.addDays(-91).toString("yyyy-M-d"), now));
        QVERIFY(!AppListModel::isLongUnused(now.addDays(-89).toString("yyyy-M-d"), now));
        QVERIFY(!AppListModel::isLongUnused("not a date", now));
        // Package extensions are not shown, other dots are.
        for (const char* name : {"Node.js", "Python 3.12", ".app"})
            QCOMPARE(AppListModel::nameWithoutExtension(name), QString(name));
        QCOMPARE(AppListModel::nameWithoutExtension("Notes.app"), QStringLiteral("Notes"));

        const QPalette saved = QApplication::palette();
        for (const bool dark : {true, false}) {
            QPalette palette = saved;
            palette.setColor(QPalette::Window, dark ? QColor(0x30, 0x30, 0x30) : QColor(Qt::white));
            palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
            QApplication::setPalette(palette);
            const QColor white(Qt::white);
            QTRY_COMPARE(screen()->mainView->palette().color(QPalette::Window), dark ? appearance::colorFromHex("2F2F2D") : white);
            QCOMPARE(screen()->lbTitle->palette().color(QPalette::WindowText), dark ? white : appearance::colorFromHex("333333"));
        }
        QApplication::setPalette(saved);

        // The size column does not sort before every application has been scanned.
        const QStringList before = driver->shownNames();
        driver->clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(driver->shownNames(), before);
        QVERIFY(driver->outline()->header()->sortIndicatorSection() != AppListModel::kSizeColumn);

        QVERIFY(driver->scanAll());
        QVERIFY(harbor.siblingAtColumn(1).data().toString().endsWith("KB"));
        QVERIFY((harbor.flags() & Qt::ItemIsUserCheckable) && driver->model()->rowCount(harbor) > 0);
        driver->clickHeader(AppListModel::kSizeColumn);
        QCOMPARE(driver->outline()->header()->sortIndicatorSection(), int(AppListModel::kSizeColumn));
        QVERIFY(driver->appAt(driver->model()->index(0, 0))->totalSize <= driver->appAt(driver->model()->index(4, 0))->totalSize);
    }

    void uninstallAlertsAndSearchKeepHiddenChoices()
    {
        openScanned();
        const auto expectAlert = [&](const QString& text) {
            QTest::mouseClick(screen()->btnUnistall, Qt::LeftButton);
            QMessageBox* alert = screen()->currentAlert();
            QVERIFY(alert);
            QCOMPARE(alert->text(), text);
            QCOMPARE(alert->windowModality(), Qt::WindowModal);
            QCOMPARE(alert->buttons().size(), 1);
            QCOMPARE(alert->buttons().first()->text(), QStringLiteral("Ok"));
            alert->buttons().first()->click();
            QTRY_VERIFY(!screen()->currentAlert());
        };
        expectAlert(QStringLiteral("Please select the file to delete"));
        driver->clickCheckBox(driver->appRow("Harbor Post"));
        QCOMPARE(screen()->deleteApps().size(), size_t(1));
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
        // This test program does not run from the Applications folder.
        expectAlert(QStringLiteral("The application is not installed in the /Applications directory. To ensure full "
                                   "functionality, please move the application to that directory."));
        QVERIFY(screen()->uninstallingViewController->isHidden && screen()->mainView->isVisible());

        QTest::keyClicks(screen()->searchField, "LUMEN");
        QCOMPARE(driver->shownNames(), QStringList{"Lumen Sketch"});
        QCOMPARE(screen()->deleteApps().size(), size_t(1));  // Harbor Post stays chosen while hidden
        QCOMPARE(screen()->deleteApps().front()->bundleIdentifier(), std::string("com.harbor.post"));
        driver->clickCheckBox(driver->appRow("Lumen Sketch"));
        QVERIFY(footer().startsWith(QStringLiteral("2 applications selected, ")));
        screen()->searchField->clear();
        QCOMPARE(driver->shownNames().size(), 5);
        QCOMPARE(driver->checkState(driver->appRow("Harbor Post")), Qt::Checked);
        QCOMPARE(screen()->deleteApps().size(), size_t(2));
    }

    void rowsExpandWithoutSelectionAndChecksAreTriState()
    {
        openScanned();
        const QModelIndex lumen = driver->appRow("Lumen Sketch");
        driver->clickRow(lumen);
        QVERIFY(driver->outline()->isExpanded(lumen));
        driver->clickRow(lumen);
        QVERIFY(!driver->outline()->isExpanded(lumen));
        QVERIFY(!driver->outline()->selectionModel() || !driver->outline()->selectionModel()->hasSelection());
        QVERIFY(screen()->deleteApps().empty());  // a row click is not a tick

        const QModelIndex harbor = driver->appRow("Harbor Post");
        driver->clickRow(harbor);
        QVERIFY(driver->outline()->isExpanded(harbor));
        const QModelIndex support = driver->childNamed(harbor, "Supporting documents");
        QVERIFY(support.isValid());
        driver->clickRow(support);
        QVERIFY(driver->outline()->isExpanded(support));
        QVERIFY(driver->model()->rowCount(support) >= 1);
        const QModelIndex folder = driver->model()->index(0, 0, support);

        driver->clickCheckBox(folder);
        QCOMPARE(driver->checkState(folder), Qt::Checked);
        QCOMPARE(screen()->deleteApps().size(), size_t(1));
        QCOMPARE(driver->checkState(harbor), Qt::PartiallyChecked);
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected, ")));
        driver->clickCheckBox(folder);  // the last ticked file goes: so does the application
        QVERIFY(screen()->deleteApps().empty());
        QCOMPARE(footer(), QString());
        QCOMPARE(driver->checkState(harbor), Qt::Unchecked);

        // An application whose items disagree is mixed; a click on it ticks them all.
        driver->clickCheckBox(folder);
        QCOMPARE(driver->checkState(harbor), Qt::PartiallyChecked);
        driver->clickCheckBox(harbor);
        QCOMPARE(driver->checkState(harbor), Qt::Checked);
        QCOMPARE(driver->checkState(driver->model()->index(0, 0, harbor)), Qt::Checked);
        QCOMPARE(driver->checkState(support), Qt::Checked);
        driver->clickCheckBox(harbor);
        QCOMPARE(driver->checkState(harbor), Qt::Unchecked);
        QCOMPARE(driver->checkState(support), Qt::Unchecked);
        QVERIFY(screen()->deleteApps().empty());
        driver->clickCheckBox(support);
        QCOMPARE(driver->checkState(support), Qt::Checked);
        QCOMPARE(driver->checkState(folder), Qt::Checked);
        QCOMPARE(screen()->deleteApps().size(), size_t(1));
    }

    void sortingByEachColumnIsStable()
    {
        openScanned();
        const auto sizesShown = [&] {
            QList<std::int64_t> sizes;
            for (const QString& name : driver->shownNames())
                sizes << driver->appAt(driver->appRow(name))->totalSize;
            return sizes;
        };
        const auto sizesSorted = [&] {
            const auto sizes = sizesShown();
            return std::is_sorted(sizes.begin(), sizes.end());
        };
        const int count = driver->shownNames().size();
        QVERIFY(!sizesSorted());  // the catalogue's order is not the size order
        driver->clickHeader(AppListModel::kNameColumn);
        const QStringList byName{"Aster Diagram", "Brinewood Console", "Harbor Post", "Lumen Sketch", "Orbit Planner"};
        QCOMPARE(driver->shownNames(), byName);
        driver->clickHeader(AppListModel::kNameColumn);
        QCOMPARE(driver->shownNames().first(), QStringLiteral("Orbit Planner"));

        driver->clickHeader(AppListModel::kDateColumn);
        QCOMPARE(driver->shownNames().last(), QStringLiteral("Harbor Post"));  // the most recent date

        // The size order holds through a search and through a rescan, under the header's arrow.
        driver->clickHeader(AppListModel::kSizeColumn);
        const QStringList sorted = driver->shownNames();
        QVERIFY(sizesSorted());
        QCOMPARE(sorted.size(), count);
        QTest::keyClicks(screen()->searchField, "o");
        const QStringList searched = sorted.filter(QStringLiteral("o"), Qt::CaseInsensitive);
        QVERIFY(searched.size() > 1 && searched.size() < sorted.size());
        QCOMPARE(driver->shownNames(), searched);
        screen()->searchField->clear();
        QCOMPARE(driver->shownNames(), sorted);
        // Command-R finds and scans every application again.
        QTest::keyClick(screen()->searchField, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!screen()->isSizeSortable());
        QTRY_VERIFY_WITH_TIMEOUT(screen()->isSizeSortable() && screen()->mainView->isVisible(), 30000);
        QCOMPARE(driver->shownNames().size(), count);
        QVERIFY(sizesSorted());
        QCOMPARE(driver->outline()->header()->sortIndicatorSection(), int(AppListModel::kSizeColumn));
        QCOMPARE(driver->outline()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    // The list follows the application folders while the window is open: one dragged to the Trash
    // leaves, one copied in (into a vendor's folder made meanwhile) comes and is scanned; ticks stay.
    void applicationsThatComeAndGoWhileTheWindowIsOpenAreFollowed()
    {
        openScanned();
        driver->clickCheckBox(driver->appRow("Lumen Sketch"));
        const auto trash = tree->at("~/.Trash");
        tree->makeDirectories(trash);
        QVERIFY(std::rename(tree->at("/Applications/Harbor Post.app").c_str(), (trash + "/Harbor Post.app").c_str()) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(!driver->appRow("Harbor Post").isValid(), 10000);
        QCOMPARE(driver->shownNames().size(), 4);
        // What it left joins the remains at once, under its own name.
        QTRY_COMPARE_WITH_TIMEOUT(screen()->btnRemainsScope->text(), QStringLiteral("Remains (1)"), 10000);
        QCOMPARE(driver->checkState(driver->appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));

        fixtures::AppBlueprint copied;
        copied.name = "Quartz Notes";
        copied.identifier = "com.quartz.notes";
        copied.files = {{"Contents/Resources/data.bin", 12345}};
        tree->writeFile(tree->at("~/Library/Caches/com.quartz.notes/cache.db"), std::string(100, 'c'));
        tree->addApp("/Applications/Quartz Tools", copied);
        // Scanned: its groups reach the list through the main queue.
        QTRY_VERIFY_WITH_TIMEOUT(driver->childNamed(driver->appRow("Quartz Notes"), "Cache files").isValid(), 10000);
        QVERIFY(driver->appAt(driver->appRow("Quartz Notes"))->isReady);
        QVERIFY(screen()->isSizeSortable());
        QCOMPARE(driver->shownNames().size(), 5);
        QCOMPARE(driver->checkState(driver->appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(driver->manager->allApps().size(), std::size_t(5));
    }

    // An application row's menu protects it (kept in the store, the list shown anew: nothing of it
    // ticks) and unprotects it again, and offers Reset… only while it is not protected; other rows
    // have no such menu.
    void theRowMenuProtectsAndUnprotects()
    {
        openScanned();
        const auto menuAction = [&](const QModelIndex& row, int which = 0) -> QAction* {
            std::unique_ptr<QMenu> menu(screen()->contextMenuFor(row));
            if (!menu || menu->actions().size() != 2 || menu->actions().back()->text() != QString("Reset…"))
                return nullptr;
            QAction* action = menu->actions().at(which);
            action->setParent(screen());
            return action;
        };
        const auto stored = [] {
            const auto names = ExclusionStore::load().protectedApplications();
            return std::count(names.begin(), names.end(), std::string("com.lumen.sketch"));
        };
        const QModelIndex lumen = driver->appRow("Lumen Sketch");
        QVERIFY(!menuAction(driver->model()->index(0, 0, lumen)));
        QAction* protect = menuAction(lumen);
        QVERIFY(protect && protect->isEnabled());
        QCOMPARE(protect->text(), QString("Protect"));
        QVERIFY(menuAction(lumen, 1)->isEnabled());
        // Chosen before it was protected: it is chosen no more.
        QVERIFY(driver->model()->setData(lumen, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(driver->appModel()->chosenApps().size(), std::size_t(1));
        protect->trigger();
        QCOMPARE(stored(), 1);
        // The list drops the choice when the catalogue reports the change, one main-queue turn
        // after the record was marked.
        QTRY_VERIFY(driver->appModel()->chosenApps().empty());
        QVERIFY(driver->appAt(driver->appRow("Lumen Sketch"))->isProtected);
        QTRY_VERIFY(!(driver->appRow("Lumen Sketch").flags() & Qt::ItemIsUserCheckable));
        QVERIFY(driver->appRow("Harbor Post").flags() & Qt::ItemIsUserCheckable);
        QAction* unprotect = menuAction(driver->appRow("Lumen Sketch"));
        QVERIFY(unprotect);
        QCOMPARE(unprotect->text(), QString("Unprotect"));
        QVERIFY(!menuAction(driver->appRow("Lumen Sketch"), 1)->isEnabled());
        QVERIFY(menuAction(driver->appRow("Harbor Post"), 1)->isEnabled());
        unprotect->trigger();
        QCOMPARE(stored(), 0);
        QTRY_VERIFY(driver->appRow("Lumen Sketch").flags() & Qt::ItemIsUserCheckable);
        QVERIFY(!driver->appAt(driver->appRow("Lumen Sketch"))->isProtected);

        // Protected by an excluded folder holding its bundle: that exclusion is what to take back.
        // The bundle's group leaves the record; the lists are reset around that, so no index kept
        // into them shows another row than it did.
        const ShownRows kept = shownRows(driver->appModel(), driver->model()->mapToSource(driver->appRow("Lumen Sketch")));
        QVERIFY(kept.size() > 2);
        QVERIFY(ExclusionStore::add(*driver->appAt(driver->appRow("Lumen Sketch"))->bundlePath, ""));
        QVERIFY(applyingExclusionsKeepsRows(*driver->manager, driver->appModel(), kept));
        QVERIFY(driver->appAt(driver->appRow("Lumen Sketch"))->isProtected);
        QAction* held = menuAction(driver->appRow("Lumen Sketch"));
        QVERIFY(held && held->text() == QString("Unprotect") && !held->isEnabled());
    }

    // "Never offer this…" on a file keeps it for its application or for every one, as answered; the
    // file leaves the list. The bundle's own row has no such menu.
    void neverOfferingAFileKeepsItOut()
    {
        fixtures::AppBlueprint plain;  // no bundle identifier to keep an exclusion of its own under
        plain.name = "Quill Ledger";
        tree->addApp("/Applications", plain);
        const std::string plainData = tree->at("~/Library/Application Support/Quill Ledger");
        tree->writeFile(plainData + "/books.db", "db");
        openScanned();
        const struct {
            const char* app;
            const char* identifier;
            const char* answer;
            std::string kept;
        } cases[] = {{"Lumen Sketch", "com.lumen.sketch", "Only for “Lumen Sketch”", "com.lumen.sketch"},
                     {"Harbor Post", "com.harbor.post", "For Every Application", ""}};
        for (const auto& c : cases) {
            const QModelIndex app = driver->appRow(c.app);
            const std::string bundle = *driver->appAt(app)->bundlePath;
            QPersistentModelIndex file;
            int bundleRows = 0;
            for (int g = 0; g < driver->model()->rowCount(app); ++g) {
                const QModelIndex group = driver->model()->index(g, 0, app);
                for (int f = 0; f < driver->model()->rowCount(group); ++f) {
                    const QModelIndex row = driver->model()->index(f, 0, group);
                    if (row.data(AppListModel::RevealPathRole).toString().toStdString() == bundle) {
                        QVERIFY(!std::unique_ptr<QMenu>(screen()->contextMenuFor(row)));
                        ++bundleRows;
                    }
                    else if (!file.isValid())
                        file = row;
                }
            }
            QVERIFY(file.isValid() && bundleRows == 1);
            const std::string path = file.data(AppListModel::RevealPathRole).toString().toStdString();
            std::unique_ptr<QMenu> menu(screen()->contextMenuFor(file));
            QVERIFY(menu && menu->actions().size() == 1);
            QCOMPARE(menu->actions().front()->text(), QString("Never offer this…"));
            const std::size_t before = ExclusionStore::load().paths().size();
            for (const QString& title : {QString("Cancel"), QString::fromUtf8(c.answer)}) {  // Cancel keeps nothing
                QCOMPARE(ExclusionStore::load().paths().size(), before);
                menu->actions().front()->trigger();
                auto* ask = driver->window->findChild<QMessageBox*>();
                QVERIFY(ask && ask->text().contains(file.data().toString()));
                QAbstractButton* answer = buttonTitled(ask, title);
                QVERIFY(answer);
                answer->click();
                QTRY_VERIFY(!driver->window->findChild<QMessageBox*>());
            }
            const auto kept = ExclusionStore::load().paths();
            QVERIFY(std::any_of(kept.begin(), kept.end(), [&](const ExcludedPath& entry) {
                return entry.path == path && entry.application == c.kept;
            }));
            QTRY_VERIFY(!driver->manager->exclusions()->paths().empty() && !pathShown(c.app, path));
        }
        QCOMPARE(ExclusionStore::load().paths().size(), std::size_t(2));

        QVERIFY(pathShown("Quill Ledger", plainData));
        const QModelIndex plainApp = driver->appRow("Quill Ledger");
        const QModelIndex plainRow = driver->childNamed(driver->childNamed(plainApp, "Supporting documents"), "Quill Ledger");
        std::unique_ptr<QMenu> menu(screen()->contextMenuFor(plainRow));
        QVERIFY(menu && menu->actions().size() == 1);
        menu->actions().front()->trigger();
        auto* ask = driver->window->findChild<QMessageBox*>();
        QVERIFY(ask && buttonTitled(ask, "For Every Application") && !buttonTitled(ask, "Only for “Quill Ledger”"));
        buttonTitled(ask, "Cancel")->click();
        QTRY_VERIFY(!driver->window->findChild<QMessageBox*>());
    }

    void returnToListDropsWhatIsGone()
    {
        openScanned();
        tick({"Harbor Post", "Lumen Sketch"});
        // Lumen Sketch is hidden by a search when the list comes back.
        QTest::keyClicks(screen()->searchField, "harbor");
        QCOMPARE(driver->shownNames(), QStringList{"Harbor Post"});
        // Everything of Harbor Post went; of Lumen Sketch only its preferences.
        for (const auto& app : screen()->deleteApps())
            for (const auto& group : app->fileGroups)
                for (const auto& item : group->fileItem)
                    if (app->bundleIdentifier() != "com.lumen.sketch" || item->filePath.find("Preferences") != std::string::npos)
                        std::filesystem::remove_all(item->filePath);
        // While a removal's screens show, the catalogue's following of the folders (the removal takes
        // a bundle away) leaves the removal's choice be.
        screen()->mainView->hide();
        std::vector<std::string> left;
        for (const auto& app : driver->manager->allApps())
            if (app->bundleIdentifier() != "com.harbor.post")
                left.push_back(*app->bundlePath);
        driver->manager->applicationsFound(left);
        driver->manager->waitForScans();
        QTest::qWait(50);
        QCOMPARE(screen()->deleteApps().size(), std::size_t(2));
        // The end of a removal run drops what went from the catalogue; the completed screen shows.
        driver->manager->removeApps({});
        driver->manager->waitForRemovals();
        QCoreApplication::processEvents();
        screen()->returnToList();

        QCOMPARE(screen()->searchField->text(), QString());
        QVERIFY(!driver->appRow("Harbor Post").isValid());
        QCOMPARE(driver->shownNames().size(), 4);
        QVERIFY(screen()->deleteApps().empty() && footer().isEmpty());
        const QModelIndex lumen = driver->appRow("Lumen Sketch");
        QCOMPARE(driver->checkState(lumen), Qt::Unchecked);
        QVERIFY(!driver->childNamed(lumen, "Preferences files").isValid());
        QVERIFY(driver->childNamed(lumen, "Cache files").isValid());
        QCOMPARE(driver->manager->allApps().size(), size_t(4));
    }
};

QTEST_MAIN(MainViewControllerTest)
#include "MainViewControllerTest.moc"
