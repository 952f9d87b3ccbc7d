// The list's model and its search/sort filter over real records: a generated Mac is discovered and
// scanned by the real catalogue, and the model is shown in a real outline (offscreen).
#include "ScreenFixture.h"
#include "app/bundles/BundleReader.h"

#include <QHelpEvent>
#include <QMap>
#include <QSet>
#include <QSignalSpy>
#include <QToolTip>

#include <filesystem>

namespace {

// Names that tell a code-unit order from a dictionary one, a name outside ASCII, two applications
// sharing a word, a bundle whose display name keeps its ".app" (no Info.plist: no identifier), and
// three never used (-1 days).
void buildMac(fixtures::MacTree& tree)
{
    addApps(tree, {{"alpha Tools", "com.alpha.tools", 5, 400000}, {"Zeta Player", "com.zeta.player", -1, 100000},
                   {"Birch Notes", "com.birch.notes", 30, 900000}, {"Ärger Notes", "com.aerger.notes", -1, 250000}, {"Cedar", "", -1, 0}});
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
    bool tick(const QModelIndex& index, Qt::CheckState state = Qt::Checked) { return model->setData(index, state, Qt::CheckStateRole); }
    std::vector<const UninstallApp*> chosenRecords() const
    {
        std::vector<const UninstallApp*> records;
        for (const auto& app : model->chosenApps())
            records.push_back(app.get());
        return records;
    }
    QModelIndex shownRow(const QString& name) const { return rowNamed(filter.get(), name); }
    QStringList shownNames() const { return namesIn(filter.get()); }
    // The names shown once the header asked for this order; a refused request shows nothing.
    QStringList sortedBy(int column, Qt::SortOrder order) const
    {
        return filter->requestSort(column, order) ? shownNames() : QStringList{"(refused)"};
    }

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
        QVERIFY(birch.isValid() && model->rowCount(birch) >= 3);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy chosen(model.get(), &AppListModel::chosenAppsChanged);

        QVERIFY(tick(birch));
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
        QCOMPARE(chosenRecords(), std::vector<const UninstallApp*>{record});

        changed.clear();
        QVERIFY(tick(birch, Qt::Unchecked));
        QCOMPARE(record->selectionState(), kSelectionOff);
        for (const auto& group : record->fileGroups)
            for (const auto& item : group->fileItem)
                QVERIFY(!item->isSelected);
        QVERIFY(changedIndexes(changed, Qt::CheckStateRole).contains(model->index(0, 0, model->index(0, 0, birch))));
        QVERIFY(model->chosenApps().empty());
        QCOMPARE(chosen.size(), 2);

        // Chosen applications keep the order of their first tick.
        const QModelIndex alpha = appNamed("alpha Tools"), zeta = appNamed("Zeta Player");
        QVERIFY(tick(zeta) && tick(alpha) && tick(model->index(0, 0, model->index(0, 0, birch))));
        // A second tick inside an application already chosen does not move it.
        QVERIFY(tick(model->index(0, 0, zeta), Qt::Unchecked));
        QCOMPARE(chosenRecords(), (std::vector<const UninstallApp*>{model->appAt(zeta), model->appAt(alpha), model->appAt(birch)}));

        // A new list forgets the chosen applications it no longer holds.
        auto fewer = model->apps();
        std::erase_if(fewer, [&](const auto& app) { return app.get() == model->appAt(alpha); });
        const std::vector<const UninstallApp*> kept{model->appAt(zeta), model->appAt(birch)};
        chosen.clear();
        model->setApps(fewer);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosenRecords(), kept);
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

        QVERIFY(tick(file));
        QCOMPARE(checkOf(file), Qt::Checked);
        const QSet<QPersistentModelIndex> covered = changedIndexes(changed, Qt::CheckStateRole);
        QVERIFY(covered.contains(file) && covered.contains(group) && covered.contains(zeta));
        QCOMPARE(checkOf(group), model->rowCount(group) == 1 ? Qt::Checked : Qt::PartiallyChecked);
        QCOMPARE(checkOf(other), Qt::Unchecked);
        QCOMPARE(checkOf(zeta), Qt::PartiallyChecked);
        QCOMPARE(model->chosenApps().size(), size_t(1));

        // A group tick reaches every file of the group and no other.
        QVERIFY(tick(other));
        for (int f = 0; f < model->rowCount(other); ++f)
            QCOMPARE(checkOf(model->index(f, 0, other)), Qt::Checked);
        const bool allGroupsOn = model->rowCount(zeta) == 2 && checkOf(group) == Qt::Checked;
        QCOMPARE(checkOf(zeta), allGroupsOn ? Qt::Checked : Qt::PartiallyChecked);

        // A group whose files disagree is mixed.
        QVERIFY(tick(zeta, Qt::Unchecked));
        QModelIndex app, pair;
        for (int row = 0; row < model->rowCount() && !pair.isValid(); ++row) {
            app = model->index(row, 0);
            for (int g = 0; g < model->rowCount(app) && !pair.isValid(); ++g)
                pair = model->rowCount(model->index(g, 0, app)) >= 2 ? model->index(g, 0, app) : QModelIndex();
        }
        QVERIFY2(pair.isValid(), "the fixture gives one group two files");
        QVERIFY(tick(model->index(1, 0, pair)));
        QCOMPARE(checkOf(pair), Qt::PartiallyChecked);
        QCOMPARE(checkOf(app), Qt::PartiallyChecked);
        QVERIFY(tick(pair));
        QCOMPARE(checkOf(model->index(0, 0, pair)), Qt::Checked);
        QCOMPARE(checkOf(pair), Qt::Checked);
    }

    void ticksThatCannotBeMadeAreRefused()
    {
        discover(false);
        const QModelIndex birch = appNamed("Birch Notes");
        QVERIFY(birch.isValid());  // not scanned yet: no box to tick
        QVERIFY(!(model->flags(birch) & Qt::ItemIsUserCheckable));
        QVERIFY(!tick(birch));
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

    // A protected application's rows show a lock and tick nothing: not by the model, not by Space.
    void aProtectedApplicationShowsALockAndTicksNothing()
    {
        discover();
        const QModelIndex birch = appNamed("Birch Notes");
        UninstallApp* record = model->appAt(birch);
        QVERIFY(record && model->rowCount(birch) > 0);
        const QModelIndex group = model->index(0, 0, birch);
        const QModelIndex file = model->index(0, 0, group);
        QVERIFY(file.isValid());
        const auto lockPixels = [&] {
            outline->expandAll();
            const QRect row = outline->visualRect(filter->mapFromSource(birch));
            const QImage shot = outline->viewport()->grab(QRect(0, row.top(), 60, row.height())).toImage();
            int count = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    count += shot.pixelColor(x, y) == QColor(0x8A, 0x8F, 0x98);
            return count;
        };
        QCOMPARE(lockPixels(), 0);
        record->isProtected = true;
        QVERIFY(lockPixels() > 10);
        QSignalSpy ticked(model.get(), &AppListModel::ticksChanged);
        for (const QModelIndex& row : {birch, group, file}) {
            QVERIFY(model->data(row, AppListModel::ProtectedRole).toBool());
            QVERIFY(!(model->flags(row) & Qt::ItemIsUserCheckable));
            QVERIFY(!tick(row));
            outline->setCurrentIndex(filter->mapFromSource(row));
            QTest::keyClick(outline.get(), Qt::Key_Space);
        }
        QCOMPARE(ticked.size(), 0);
        QCOMPARE(record->selectionState(), kSelectionOff);
        QVERIFY(model->chosenApps().empty());
        // Another application's rows still tick.
        QVERIFY(!model->data(appNamed("Cedar"), AppListModel::ProtectedRole).toBool());
        QVERIFY(tick(appNamed("Cedar")));
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

        QCOMPARE(sortedBy(AppListModel::kNameColumn, Qt::AscendingOrder), (QStringList{"alpha Tools", "Ärger Notes", "Birch Notes", "Cedar", "Zeta Player"}));

        // Three never used ("-", before any date): they keep the name order among themselves, in
        // both directions.
        QCOMPARE(sortedBy(AppListModel::kDateColumn, Qt::AscendingOrder), (QStringList{"Ärger Notes", "Cedar", "Zeta Player", "Birch Notes", "alpha Tools"}));
        QCOMPARE(sortedBy(AppListModel::kDateColumn, Qt::DescendingOrder), (QStringList{"alpha Tools", "Birch Notes", "Ärger Notes", "Cedar", "Zeta Player"}));

        // Another column starts ascending whatever the header asked.
        const auto indicator = filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder);
        QVERIFY(indicator);
        QCOMPARE(indicator->column, int(AppListModel::kNameColumn));
        QCOMPARE(indicator->order, Qt::AscendingOrder);
        QCOMPARE(shownNames().first(), QStringLiteral("alpha Tools"));
        QCOMPARE(sortedBy(AppListModel::kNameColumn, Qt::DescendingOrder), (QStringList{"Zeta Player", "Cedar", "Birch Notes", "Ärger Notes", "alpha Tools"}));
        QVERIFY(!filter->requestSort(3, Qt::AscendingOrder) && !filter->requestSort(-1, Qt::AscendingOrder));

        // The sort holds through searches and a new list.
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::AscendingOrder));
        QVERIFY(filter->requestSort(AppListModel::kNameColumn, Qt::DescendingOrder));
        filter->setSearchText(QStringLiteral("o"));
        QCOMPARE(shownNames(), (QStringList{"Birch Notes", "Ärger Notes", "alpha Tools"}));
        // A sort while searching orders the others too.
        QCOMPARE(sortedBy(AppListModel::kDateColumn, Qt::AscendingOrder), (QStringList{"Ärger Notes", "Birch Notes", "alpha Tools"}));
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
        QVERIFY(tick(appNamed("Birch Notes")));
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
        for (const std::string& day : days) {
            apps.push_back(BundleReader::record(tree->at("/Applications/Cedar.app")));
            apps.back()->lastUsed = day;
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
        const QStringList bySize{"Cedar", "Zeta Player", "Ärger Notes", "alpha Tools", "Birch Notes"};
        QCOMPARE(sortedBy(AppListModel::kSizeColumn, Qt::AscendingOrder), bySize);

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
        QVERIFY(tick(alpha) && tick(birch));
        // Everything of alpha Tools went; of Birch Notes only its caches.
        for (const auto& record : model->chosenApps())
            for (const auto& group : record->fileGroups)
                for (const auto& item : group->fileItem)
                    if (record->bundleIdentifier() == "com.alpha.tools" || item->filePath.find("Caches") != std::string::npos)
                        std::filesystem::remove_all(item->filePath);
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
        auto unsure = UninstallApp::gone("com.gone.unsure", "Unsure"), sure = UninstallApp::gone("com.gone.sure", "Sure");
        unsure->remainsCertain = false;
        unsure->isReady = sure->isReady = true;
        model->setApps({unsure, sure});
        const QString why = QStringLiteral("Not sure: the search for installed copies ran out of time");
        const QModelIndex unsureRow = shownRow(QStringLiteral("Unsure")), sureRow = shownRow(QStringLiteral("Sure"));
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
