// The list's model and its search/sort filter over real records: a generated Mac is discovered and
// scanned by the real catalogue, and the model is shown in a real outline (offscreen).
#include "ListScreenDriver.h"
#include "app/bundles/BundleReader.h"
#include "app/ui/NSOutlineViewEx.h"
#include "app/ui/OutlineRowDelegate.h"
#include "fixtures/MacTree.h"
#include "platform/qt/QtMainQueue.h"

#include <QHelpEvent>
#include <QMap>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <filesystem>

namespace {

// Names that tell a code-unit order from a dictionary one, a name outside ASCII, two applications
// sharing a word, a bundle whose display name keeps its ".app" (no Info.plist: no identifier), and
// three never used (-1 days). Caches in the user's and the system's Library give a group of two files.
void buildMac(fixtures::MacTree& tree)
{
    const struct {
        const char* name;
        const char* identifier;
        int usedDaysAgo;
        std::int64_t bytes;
    } apps[] = {{"alpha Tools", "com.alpha.tools", 5, 400000}, {"Zeta Player", "com.zeta.player", -1, 100000},
                {"Birch Notes", "com.birch.notes", 30, 900000}, {"Ärger Notes", "com.aerger.notes", -1, 250000},
                {"Cedar", "", -1, 0}};
    for (const auto& app : apps) {
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
        const std::string id = app.identifier;
        tree.writeFile(tree.at("~/Library/Preferences/" + id + ".plist"), "<plist/>");
        tree.writeFile(tree.at("~/Library/Caches/" + id + "/cache.db"), std::string(2000, 'c'));
        tree.writeFile(tree.at("/Library/Caches/" + id + "/shared.db"), std::string(1000, 'c'));
        tree.writeFile(tree.at("~/Library/Application Support/" + std::string(app.name) + "/store.db"), std::string(4000, 's'));
        tree.writeFile(tree.at("~/Library/Logs/" + std::string(app.name) + "/run.log"), "log");
    }
}

// Every index a dataChanged signal covered, as (parent pointer, row, column) of the source model.
QSet<QPersistentModelIndex> changedIndexes(const QSignalSpy& spy, int role)
{
    QSet<QPersistentModelIndex> covered;
    for (const QList<QVariant>& call : spy) {
        const auto topLeft = call.at(0).value<QModelIndex>();
        const auto bottomRight = call.at(1).value<QModelIndex>();
        const auto roles = call.at(2).value<QList<int>>();
        if (!roles.isEmpty() && !roles.contains(role))
            continue;
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
            for (int column = topLeft.column(); column <= bottomRight.column(); ++column)
                covered.insert(topLeft.sibling(row, column));
        }
    }
    return covered;
}

}  // namespace

class AppListModelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;
    std::shared_ptr<UninstallAppManager> manager;
    std::unique_ptr<AppListModel> model;
    std::unique_ptr<AppListFilter> filter;
    std::unique_ptr<NSOutlineViewEx> outline;

    void discover(bool scan = true)
    {
        manager->discoverApps();
        if (scan)
            manager->runScanLoop();
        model->setApps(manager->allApps());
    }

    QModelIndex appNamed(const QString& name) const { return rowNamed(model.get(), name); }
    QModelIndex shownRow(const QString& name) const { return rowNamed(filter.get(), name); }
    QStringList shownNames() const { return namesIn(filter.get()); }

    // The catalogue's order, restricted to the names given.
    QStringList catalogueOrder(const QStringList& names) const
    {
        QStringList ordered;
        for (const auto& app : model->apps()) {
            const QString shown = model->shownName(app.get());
            if (names.contains(shown))
                ordered << shown;
        }
        return ordered;
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
        buildMac(*tree);
        manager = UninstallAppManager::make();
        model = std::make_unique<AppListModel>();
        model->setColumns({views::makeTableColumn("Name", "name", 500), views::makeTableColumn("Size", "size", 150),
                           views::makeTableColumn("Recently used", "date", 150)});
        filter = std::make_unique<AppListFilter>(model.get());
        outline = std::make_unique<NSOutlineViewEx>();
        outline->setModel(filter.get());
        outline->resize(800, 600);
        outline->show();
        QVERIFY(QTest::qWaitForWindowExposed(outline.get()));
    }

    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        outline.reset();
        filter.reset();
        model.reset();
        manager.reset();
        tree.reset();
    }

    // Each file tells where it lies: its folder, the home folder shortened to "~", or the item of the
    // application it lies inside; the tooltip gives the whole path.
    void eachFileSaysWhereItLies()
    {
        discover();
        const QModelIndex birch = appNamed("Birch Notes");
        UninstallApp* record = model->appAt(birch);
        QVERIFY(record && !record->fileGroups.empty());
        const std::string bundle = *record->bundlePath;
        const auto addItem = [&](const std::string& path) {
            auto item = std::make_shared<UnFileItem>();
            item->fileName = path.substr(path.rfind('/') + 1);
            item->filePath = path;
            record->fileGroups.back()->fileItem.push_back(item);
            return QString::fromStdString(path);
        };
        // A helper inside the bundle, as a scan finds one by its own identifier; a name that merely
        // starts like another item's path lies beside it, not inside.
        const QString helper = addItem(bundle + "/Contents/Library/LoginItems/Birch Helper.app");
        const QString beside = addItem(tree->at("~/Library/Caches/com.birch.notes.old"));
        model->setApps(model->apps());

        QMap<QString, QString> where;
        for (int g = 0; g < model->rowCount(appNamed("Birch Notes")); ++g) {
            const QModelIndex group = model->index(g, 0, appNamed("Birch Notes"));
            for (int f = 0; f < model->rowCount(group); ++f) {
                const QModelIndex file = model->index(f, 0, group);
                QCOMPARE(file.data(Qt::ToolTipRole).toString(), QString::fromStdString(model->fileAt(file)->filePath));
                where.insert(QString::fromStdString(model->fileAt(file)->filePath), file.data(AppListModel::LocationRole).toString());
            }
        }
        QCOMPARE(where.value(QString::fromStdString(tree->at("~/Library/Caches/com.birch.notes"))), QStringLiteral("~/Library/Caches"));
        // Outside the home folder, the place as the Mac names it.
        QCOMPARE(where.value(QString::fromStdString(tree->at("/Library/Caches/com.birch.notes"))), QStringLiteral("/Library/Caches"));
        QCOMPARE(where.value(helper), QStringLiteral("Inside “Birch Notes”"));
        QCOMPARE(where.value(QString::fromStdString(bundle)), QStringLiteral("/Applications"));
        QCOMPARE(where.value(beside), QStringLiteral("~/Library/Caches"));
    }

    void tickingAnApplicationTicksEveryGroupAndFileAndReportsThemAll()
    {
        discover();
        const QModelIndex birch = appNamed("Birch Notes");
        QVERIFY(birch.isValid());
        QVERIFY(model->rowCount(birch) >= 3);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy chosen(model.get(), &AppListModel::chosenAppsChanged);

        QVERIFY(model->setData(birch, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checkOf(birch), Qt::Checked);
        const UninstallApp* record = model->appAt(birch);
        QCOMPARE(record->selectionState(), kSelectionOn);
        const QSet<QPersistentModelIndex> covered = changedIndexes(changed, Qt::CheckStateRole);
        QVERIFY(covered.contains(birch));
        int files = 0;
        for (int g = 0; g < model->rowCount(birch); ++g) {
            const QModelIndex group = model->index(g, 0, birch);
            QCOMPARE(checkOf(group), Qt::Checked);
            QVERIFY2(covered.contains(group), qPrintable(group.data().toString()));
            for (int f = 0; f < model->rowCount(group); ++f) {
                const QModelIndex file = model->index(f, 0, group);
                QCOMPARE(checkOf(file), Qt::Checked);
                QVERIFY(model->fileAt(file)->isSelected);
                QVERIFY2(covered.contains(file), qPrintable(file.data().toString()));
                ++files;
            }
        }
        QVERIFY(files >= 3);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(model->chosenApps().size(), size_t(1));
        QCOMPARE(model->chosenApps().front().get(), record);

        changed.clear();
        QVERIFY(model->setData(birch, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(record->selectionState(), kSelectionOff);
        for (const auto& group : record->fileGroups) {
            for (const auto& item : group->fileItem)
                QVERIFY(!item->isSelected);
        }
        QVERIFY(changedIndexes(changed, Qt::CheckStateRole).contains(model->index(0, 0, model->index(0, 0, birch))));
        QVERIFY(model->chosenApps().empty());
        QCOMPARE(chosen.size(), 2);

        // A click on a box in the outline ticks through the filter.
        const QModelIndex alpha = appNamed("alpha Tools"), shownAlpha = filter->mapFromSource(alpha);
        QStyleOptionViewItem option;
        option.rect = outline->visualRect(shownAlpha);
        const QPoint box = outline->rowDelegate()->checkRect(option, shownAlpha).center();
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(checkOf(shownAlpha), Qt::Checked);
        QCOMPARE(model->appAt(appNamed("alpha Tools"))->selectionState(), kSelectionOn);
        // A mixed box becomes on.
        QVERIFY(model->setData(model->index(0, 0, appNamed("alpha Tools")), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(checkOf(shownAlpha), Qt::PartiallyChecked);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(checkOf(shownAlpha), Qt::Checked);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(checkOf(shownAlpha), Qt::Unchecked);
        QVERIFY(model->chosenApps().empty());

        // Chosen applications keep the order of their first tick.
        const QModelIndex zeta = appNamed("Zeta Player");
        QVERIFY(model->setData(zeta, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model->setData(alpha, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model->setData(model->index(0, 0, model->index(0, 0, birch)), Qt::Checked, Qt::CheckStateRole));
        // A second tick inside an application already chosen does not move it.
        QVERIFY(model->setData(model->index(0, 0, zeta), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(model->chosenApps().size(), size_t(3));
        QCOMPARE(model->chosenApps()[0].get(), model->appAt(zeta));
        QCOMPARE(model->chosenApps()[1].get(), model->appAt(alpha));
        QCOMPARE(model->chosenApps()[2].get(), model->appAt(birch));

        // A new list forgets the chosen applications it no longer holds.
        std::vector<std::shared_ptr<UninstallApp>> fewer;
        for (const auto& app : model->apps()) {
            if (app.get() != model->appAt(alpha))
                fewer.push_back(app);
        }
        const UninstallApp* zetaRecord = model->appAt(zeta);
        chosen.clear();
        model->setApps(fewer);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(model->chosenApps().size(), size_t(2));
        QCOMPARE(model->chosenApps()[0].get(), zetaRecord);
    }

    void aFileTickMakesItsGroupAndApplicationMixedAndReportsBoth()
    {
        discover();
        const QModelIndex zeta = appNamed("Zeta Player");
        const QModelIndex group = model->index(0, 0, zeta);
        const QModelIndex other = model->index(1, 0, zeta);
        QVERIFY(group.isValid() && other.isValid());
        const QModelIndex file = model->index(0, 0, group);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);

        QVERIFY(model->setData(file, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checkOf(file), Qt::Checked);
        const QSet<QPersistentModelIndex> covered = changedIndexes(changed, Qt::CheckStateRole);
        QVERIFY(covered.contains(file));
        QVERIFY(covered.contains(group));
        QVERIFY(covered.contains(zeta));
        QCOMPARE(checkOf(group), model->rowCount(group) == 1 ? Qt::Checked : Qt::PartiallyChecked);
        QCOMPARE(checkOf(other), Qt::Unchecked);
        QCOMPARE(checkOf(zeta), Qt::PartiallyChecked);
        QCOMPARE(model->chosenApps().size(), size_t(1));

        // A group tick reaches every file of the group and no other.
        QVERIFY(model->setData(other, Qt::Checked, Qt::CheckStateRole));
        for (int f = 0; f < model->rowCount(other); ++f)
            QCOMPARE(checkOf(model->index(f, 0, other)), Qt::Checked);
        const bool allGroupsOn = model->rowCount(zeta) == 2 && checkOf(group) == Qt::Checked;
        QCOMPARE(checkOf(zeta), allGroupsOn ? Qt::Checked : Qt::PartiallyChecked);

        // The last ticked file goes: the application is no longer chosen.
        QVERIFY(model->setData(other, Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(model->setData(file, Qt::Unchecked, Qt::CheckStateRole));
        for (int f = 0; f < model->rowCount(group); ++f)
            QVERIFY(model->setData(model->index(f, 0, group), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(checkOf(zeta), Qt::Unchecked);
        QVERIFY(model->chosenApps().empty());

        // A group whose files disagree is mixed.
        QModelIndex app;
        QModelIndex pair;
        for (int row = 0; row < model->rowCount() && !pair.isValid(); ++row) {
            app = model->index(row, 0);
            for (int g = 0; g < model->rowCount(app) && !pair.isValid(); ++g)
                pair = model->rowCount(model->index(g, 0, app)) >= 2 ? model->index(g, 0, app) : QModelIndex();
        }
        QVERIFY2(pair.isValid(), "the fixture gives one group two files");
        QVERIFY(model->setData(model->index(1, 0, pair), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checkOf(pair), Qt::PartiallyChecked);
        QCOMPARE(checkOf(app), Qt::PartiallyChecked);
        QVERIFY(model->setData(pair, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checkOf(model->index(0, 0, pair)), Qt::Checked);
        QCOMPARE(checkOf(pair), Qt::Checked);
    }

    void ticksThatCannotBeMadeAreRefused()
    {
        discover(false);
        const QModelIndex birch = appNamed("Birch Notes");
        QVERIFY(birch.isValid());
        // Not scanned yet: no box to tick.
        QVERIFY(!(model->flags(birch) & Qt::ItemIsUserCheckable));
        QVERIFY(!model->setData(birch, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model->chosenApps().empty());

        manager->runScanLoop();
        for (const auto& app : model->apps())
            model->appDidScan(app.get());
        QVERIFY(model->flags(birch) & Qt::ItemIsUserCheckable);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(!model->setData(birch, Qt::PartiallyChecked, Qt::CheckStateRole));
        QVERIFY(!model->setData(birch, QStringLiteral("on"), Qt::CheckStateRole));
        QVERIFY(!model->setData(birch, Qt::Checked, Qt::EditRole));
        QVERIFY(!model->setData(birch.siblingAtColumn(AppListModel::kSizeColumn), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model->setData(QModelIndex(), Qt::Checked, Qt::CheckStateRole));
        // An index of the filter is not one of the model's.
        QVERIFY(!model->setData(filter->mapFromSource(birch), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(changed.size(), 0);
        QCOMPARE(model->appAt(birch)->selectionState(), kSelectionOff);

        // The flow screens' flat lists tick nothing.
        AppListModel flat(AppListModel::Options{true, AppListModel::AppSize::total});
        flat.setApps(model->apps());
        QCOMPARE(flat.rowCount(flat.index(0, 0)), 0);
        QVERIFY(!flat.setData(flat.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    }

    // Names compare as the Finder shows them in an English system: letter case and accents aside
    // at first.
    void sortsNamesAsTheFinderDoesAndKeepsThePreviousOrderAmongEqualKeys()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        discover();
        // Search matches the display name in any letter case.
        QCOMPARE(filter->rowCount(), 5);
        filter->setSearchText(QStringLiteral("NOTES"));
        QCOMPARE(shownNames(), catalogueOrder({"Birch Notes", "Ärger Notes"}));
        QCOMPARE(shownNames().size(), 2);
        // Groups and files are never filtered.
        const QModelIndex birch = shownRow("Birch Notes");
        QCOMPARE(filter->rowCount(birch), model->rowCount(appNamed("Birch Notes")));
        QCOMPARE(filter->rowCount(filter->index(0, 0, birch)), model->rowCount(model->index(0, 0, appNamed("Birch Notes"))));

        filter->setSearchText(QStringLiteral("äRGER"));
        QCOMPARE(shownNames(), QStringList{"Ärger Notes"});
        // The display name of a bundle without Info.plist is its folder name, extension and all.
        filter->setSearchText(QStringLiteral(".APP"));
        QCOMPARE(shownNames(), QStringList{"Cedar"});
        filter->setSearchText(QStringLiteral("nothing like it"));
        QCOMPARE(filter->rowCount(), 0);
        filter->setSearchText(QString());
        QCOMPARE(shownNames(), catalogueOrder(shownNames()));
        QCOMPARE(filter->rowCount(), 5);
        QCOMPARE(outline->model()->rowCount(), 5);

        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::AscendingOrder));
        QCOMPARE(shownNames(), (QStringList{"alpha Tools", "Ärger Notes", "Birch Notes", "Cedar", "Zeta Player"}));

        // Three never used ("-", before any date): they keep the name order among themselves, in
        // both directions.
        QVERIFY(filter->requestSort(AppListModel::kDateColumn, Qt::AscendingOrder));
        QCOMPARE(shownNames(), (QStringList{"Ärger Notes", "Cedar", "Zeta Player", "Birch Notes", "alpha Tools"}));
        QVERIFY(filter->requestSort(AppListModel::kDateColumn, Qt::DescendingOrder));
        QCOMPARE(shownNames(), (QStringList{"alpha Tools", "Birch Notes", "Ärger Notes", "Cedar", "Zeta Player"}));

        // Another column starts ascending whatever the header asked.
        const auto indicator = filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder);
        QVERIFY(indicator);
        QCOMPARE(indicator->column, int(AppListModel::kNameColumn));
        QCOMPARE(indicator->order, Qt::AscendingOrder);
        QCOMPARE(shownNames().first(), QStringLiteral("alpha Tools"));
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder));
        QCOMPARE(shownNames(), (QStringList{"Zeta Player", "Cedar", "Birch Notes", "Ärger Notes", "alpha Tools"}));
        QVERIFY(!filter->requestSort(3, Qt::AscendingOrder));
        QVERIFY(!filter->requestSort(-1, Qt::AscendingOrder));

        // The sort holds through searches and a new list.
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::AscendingOrder));
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder));
        filter->setSearchText(QStringLiteral("o"));
        QCOMPARE(shownNames(), (QStringList{"Birch Notes", "Ärger Notes", "alpha Tools"}));
        // A sort while searching orders the others too.
        QVERIFY(filter->requestSort(AppListModel::kDateColumn, Qt::AscendingOrder));
        QCOMPARE(shownNames(), (QStringList{"Ärger Notes", "Birch Notes", "alpha Tools"}));
        filter->setSearchText(QString());
        QCOMPARE(shownNames(), (QStringList{"Zeta Player", "Cedar", "Ärger Notes", "Birch Notes", "alpha Tools"}));

        // A new list from the model (a rescan, Put Back) comes in the order the header shows.
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::AscendingOrder));
        auto apps = model->apps();
        std::reverse(apps.begin(), apps.end());
        model->setApps(apps);
        QCOMPARE(shownNames(), (QStringList{"alpha Tools", "Ärger Notes", "Birch Notes", "Cedar", "Zeta Player"}));

        // Nothing moves when the data changes; expanded rows stay open through a sort.
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder));
        const QStringList order = shownNames();
        QVERIFY(model->setData(appNamed("Birch Notes"), Qt::Checked, Qt::CheckStateRole));
        model->appDidScan(model->appAt(appNamed("Zeta Player")));
        QCOMPARE(shownNames(), order);

        outline->expand(shownRow("Birch Notes"));
        QVERIFY(outline->isExpanded(shownRow("Birch Notes")));
        QVERIFY(filter->requestSort(AppListModel::kDateColumn, Qt::AscendingOrder));
        QVERIFY(outline->isExpanded(shownRow("Birch Notes")));
        QVERIFY(!outline->isExpanded(shownRow("Zeta Player")));
        filter->setSearchText(QStringLiteral("birch"));
        QVERIFY(outline->isExpanded(shownRow("Birch Notes")));
    }

    // Dates compare as days, not as text: "2024-10-2" comes after "2024-9-30".
    void datesSortAsDays()
    {
        const std::vector<std::string> days = {"2024-10-2", "2024-9-30", "2023-12-31", "-", "2024-10-10"};
        std::vector<std::shared_ptr<UninstallApp>> apps;
        for (std::size_t i = 0; i < days.size(); ++i) {
            auto app = BundleReader::record(tree->at("/Applications/Cedar.app"));
            app->lastUsed = days[i];
            apps.push_back(app);
        }
        model->setApps(apps);
        QVERIFY(filter->requestSort(AppListModel::kDateColumn, Qt::AscendingOrder));
        QStringList shown;
        for (int row = 0; row < filter->rowCount(); ++row)
            shown << QString::fromStdString(model->appAt(filter->mapToSource(filter->index(row, 0)))->lastUsed);
        QCOMPARE(shown, (QStringList{"-", "2023-12-31", "2024-9-30", "2024-10-2", "2024-10-10"}));
    }

    void sizeSortsOnlyOnceEveryApplicationIsScanned()
    {
        discover();
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::AscendingOrder));
        const QStringList byName = shownNames();
        const auto kept = filter->requestSort(AppListModel::kSizeColumn, Qt::AscendingOrder);
        QVERIFY(kept);
        QCOMPARE(kept->column, int(AppListModel::kNameColumn));
        QCOMPARE(shownNames(), byName);

        filter->setSizeSortable(true);
        QVERIFY(filter->requestSort(AppListModel::kSizeColumn, Qt::AscendingOrder));
        const QStringList bySize{"Cedar", "Zeta Player", "Ärger Notes", "alpha Tools", "Birch Notes"};
        QCOMPARE(shownNames(), bySize);
        std::int64_t previous = -1;
        for (int row = 0; row < filter->rowCount(); ++row) {
            const std::int64_t size = model->appAt(filter->mapToSource(filter->index(row, 0)))->totalSize;
            QVERIFY(size > previous);
            previous = size;
        }

        // A rescan: the new list comes in the catalogue's order while the sizes are unknown, and
        // takes the size order again once they are known.
        filter->setSizeSortable(false);
        auto apps = model->apps();
        std::reverse(apps.begin(), apps.end());
        model->setApps(apps);
        QCOMPARE(shownNames(), catalogueOrder(bySize));
        QCOMPARE(filter->sortIndicator().column, int(AppListModel::kSizeColumn));
        filter->setSizeSortable(true);
        QCOMPARE(shownNames(), bySize);
    }

    void afterARemovalWhatIsGoneLeavesTheListAndTheCatalogue()
    {
        discover();
        const QModelIndex alpha = appNamed("alpha Tools");
        const QModelIndex birch = appNamed("Birch Notes");
        QVERIFY(model->setData(alpha, Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model->setData(birch, Qt::Checked, Qt::CheckStateRole));
        // Everything of alpha Tools went; of Birch Notes only its caches.
        for (const auto& record : model->chosenApps()) {
            for (const auto& group : record->fileGroups) {
                for (const auto& item : group->fileItem) {
                    if (record->bundleIdentifier() == "com.alpha.tools" || item->filePath.find("Caches") != std::string::npos)
                        std::filesystem::remove_all(item->filePath);
                }
            }
        }
        const auto birchRecord = model->chosenApps()[1];
        const std::size_t groups = birchRecord->fileGroups.size();
        QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy chosen(model.get(), &AppListModel::chosenAppsChanged);
        // The catalogue drops what went at the end of any removal run, an empty one too.
        manager->removeApps({});
        manager->waitForRemovals();
        QCOMPARE(reset.size(), 0);
        model->pruneAfterRemoval(manager->allApps());

        QCOMPARE(reset.size(), 1);
        QCOMPARE(chosen.size(), 1);
        QVERIFY(model->chosenApps().empty());
        QCOMPARE(manager->allApps().size(), size_t(4));
        QCOMPARE(model->rowCount(), 4);
        QVERIFY(!appNamed("alpha Tools").isValid());
        QCOMPARE(birchRecord->fileGroups.size(), groups - 1);
        QCOMPARE(birchRecord->selectionState(), kSelectionOff);
        QCOMPARE(model->rowCount(appNamed("Birch Notes")), int(groups - 1));
        QCOMPARE(shownNames().size(), 4);
    }

    void remainsInDoubtSayWhyBesideThemInTheOutline()
    {
        // The outline's date column and a hover over the row, through the filter the view shows.
        auto unsure = UninstallApp::gone("com.gone.unsure", "Unsure");
        auto sure = UninstallApp::gone("com.gone.sure", "Sure");
        unsure->remainsCertain = false;
        unsure->isReady = sure->isReady = true;
        model->setApps({unsure, sure});
        const QString why = QStringLiteral("Not sure: the search for installed copies ran out of time");
        const QModelIndex unsureRow = shownRow(QStringLiteral("Unsure"));
        const QModelIndex sureRow = shownRow(QStringLiteral("Sure"));
        QVERIFY(unsureRow.isValid() && sureRow.isValid());
        QCOMPARE(unsureRow.siblingAtColumn(AppListModel::kDateColumn).data().toString(), QStringLiteral("Not sure"));
        QCOMPARE(sureRow.siblingAtColumn(AppListModel::kDateColumn).data().toString(), QStringLiteral("-"));
        QCOMPARE(unsureRow.data().toString(), QStringLiteral("Unsure"));
        const auto hover = [&](const QModelIndex& index) {
            const QPoint at = outline->visualRect(index).center();
            QHelpEvent event(QEvent::ToolTip, at, outline->viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(outline->viewport(), &event);
            // The view takes the event only when it has a tip to show.
            return event.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(hover(unsureRow), why);
        QCOMPARE(hover(sureRow), QString());
    }
};

QTEST_MAIN(AppListModelTest)
#include "AppListModelTest.moc"
