// The sizes the list screen shows over the demo Mac add up: an application's row shows the total
// it is sorted by, a group's row the sum of its items, and the footer and the sheet what the
// ticked items come to, worked out here from the items themselves.
#include "ScreenFixture.h"
#include "Auxiliary/ByteCountFormatter.h"
#include "demo/DemoTree.h"

#include <algorithm>

namespace {

QString bytes(std::int64_t count)
{
    return QString::fromStdString(format2ByteCountString(count));
}

// The sizes of the items, each counted once: an item inside another listed one is in that one's.
std::int64_t addedUp(const std::vector<const UnFileItem*>& items)
{
    std::int64_t total = 0;
    for (const UnFileItem* item : items) {
        const bool inside = std::any_of(items.begin(), items.end(), [&](const UnFileItem* other) {
            return other != item && item->filePath.rfind(other->filePath + "/", 0) == 0;
        });
        if (!inside)
            total += item->size;
    }
    return total;
}

std::int64_t tickedBytes(const std::vector<const UninstallApp*>& apps)
{
    std::int64_t total = 0;
    for (const UninstallApp* app : apps) {
        std::vector<const UnFileItem*> ticked;
        for (const auto& group : app->fileGroups)
            for (const auto& item : group->fileItem)
                if (item->isSelected)
                    ticked.push_back(item.get());
        total += addedUp(ticked);
    }
    return total;
}

}  // namespace

class ListSizesTest : public QObject, ScreenFixture {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void init()
    {
        makeTree(demo::buildDemoTree);
        openList(false);
    }

    void cleanup() { tearDown(); }

    void anApplicationRowShowsItsTotalAndSortsByIt()
    {
        // Before its scan a row says so.
        const QModelIndex first = driver->model()->index(0, AppListModel::kSizeColumn);
        QCOMPARE(first.data().toString(), QStringLiteral("Scanning..."));
        QVERIFY(first.data(Qt::ToolTipRole).isNull());

        QVERIFY(driver->scanAll());
        driver->clickHeader(AppListModel::kSizeColumn);
        AppListFilter* model = driver->model();
        QVERIFY(model->rowCount() >= 10);
        std::int64_t previous = -1;
        int bigger = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            const UninstallApp* app = driver->appAt(model->index(row, 0));
            const QModelIndex size = model->index(row, AppListModel::kSizeColumn);
            QCOMPARE(size.data().toString(), bytes(app->totalSize));
            QCOMPARE(size.data(Qt::ToolTipRole).toString(), QStringLiteral("Application bundle: ") + bytes(app->bundleSize));
            QVERIFY2(app->totalSize >= previous, qPrintable(driver->shownNames().at(row)));
            previous = app->totalSize;
            bigger += app->totalSize > app->bundleSize ? 1 : 0;
        }
        // Most applications have files beside their bundle: the total is not the bundle's size.
        QVERIFY(bigger > model->rowCount() / 2);
    }

    void aGroupRowShowsTheSumOfItsItems()
    {
        QVERIFY(driver->scanAll());
        AppListFilter* model = driver->model();
        int groups = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex app = model->index(row, 0);
            for (int g = 0; g < model->rowCount(app); ++g) {
                const QModelIndex group = model->index(g, 0, app);
                const UnFileGroup* files = driver->appModel()->groupAt(model->mapToSource(group));
                QVERIFY(files);
                std::vector<const UnFileItem*> items(files->fileItem.size());
                std::transform(files->fileItem.begin(), files->fileItem.end(), items.begin(), [](const auto& item) { return item.get(); });
                QCOMPARE(group.siblingAtColumn(AppListModel::kSizeColumn).data().toString(), bytes(addedUp(items)));
                ++groups;
            }
        }
        QVERIFY(groups > 20);
    }

    void theFooterAndTheSheetAddUpTheTickedItems()
    {
        QVERIFY(driver->scanAll());
        QCOMPARE(footer(), QString());
        const QModelIndex notes = driver->appRow("Lumen Notes");
        const UninstallApp* notesApp = driver->appAt(notes);
        driver->clickCheckBox(notes);
        const std::int64_t all = tickedBytes({notesApp});
        QCOMPARE(all, notesApp->totalSize);
        QCOMPARE(footer(), QStringLiteral("1 application selected, ") + bytes(all));

        // Unticking one item takes exactly its bytes off.
        driver->clickRow(notes);
        const QModelIndex group = driver->model()->index(driver->model()->rowCount(notes) - 1, 0, notes);
        driver->clickRow(group);
        const QModelIndex file = driver->model()->index(0, 0, group);
        const UnFileItem* item = driver->appModel()->fileAt(driver->model()->mapToSource(file));
        QVERIFY(item && item->size > 0);
        driver->clickCheckBox(file);
        QVERIFY(!item->isSelected);
        QCOMPARE(tickedBytes({notesApp}), all - item->size);
        QCOMPARE(footer(), QStringLiteral("1 application selected, ") + bytes(all - item->size));
        driver->clickCheckBox(file);
        QCOMPARE(footer(), QStringLiteral("1 application selected, ") + bytes(all));

        // A second application adds its own.
        const QModelIndex other = driver->appRow("Huebox");
        driver->clickCheckBox(other);
        const std::int64_t both = tickedBytes({notesApp, driver->appAt(other)});
        QCOMPARE(both, all + driver->appAt(other)->totalSize);
        QCOMPARE(footer(), QStringLiteral("2 applications selected, ") + bytes(both));

        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet);
        QCOMPARE(sheet->lbTotal->text(), QStringLiteral("Ticked items: ") + bytes(both));
        sheet->btnCancel->click();

        tick({"Lumen Notes", "Huebox"});
        QCOMPARE(footer(), QString());
    }
};

QTEST_MAIN(ListSizesTest)
#include "ListSizesTest.moc"
