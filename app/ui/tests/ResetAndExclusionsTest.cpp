// The Reset sheet and the Exclusions window in the real window (offscreen) over a generated Mac:
// a reset takes the application's data to the Trash and leaves its bundle as it was; the window
// lists, removes and counts what the exclusions store holds. Every item is one of the user's home,
// moved by the test process itself: no daemon runs.
#include "ScreenFixture.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/ui/ExclusionsWindowController.h"
#include "app/ui/OutlineRowDelegate.h"
#include "Auxiliary/ByteCountText.h"
#include "platform/PathUtil.h"
#include "platform/UserDefaults.h"

#include <QMenu>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Every file and folder below `folder` with the bytes of each file (nothing when it is gone).
std::map<std::string, std::string> contentsBelow(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        std::ostringstream bytes;
        if (entry.is_regular_file())
            bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        contents[entry.path().string()] = bytes.str();
    }
    return contents;
}

}  // namespace

class ResetAndExclusionsTest : public QObject, ScreenFixture {
    Q_OBJECT

    std::string harbor, lumen;  // the bundles
    std::string cacheOf(const char* id) const { return tree->at(std::string("~/Library/Caches/") + id); }
    std::string prefsOf(const char* id) const { return tree->at(std::string("~/Library/Preferences/") + id + ".plist"); }

    UninstallApp* app(const char* name) const { return driver->appAt(driver->appRow(name)); }
    // The action of the application row's context menu titled `title` (kept alive by the screen).
    QAction* rowAction(const char* name, const QString& title)
    {
        std::unique_ptr<QMenu> menu(screen()->contextMenuFor(driver->appRow(name)));
        for (QAction* action : menu ? menu->actions() : QList<QAction*>{})
            if (action->text() == title) {
                action->setParent(screen());
                return action;
            }
        return nullptr;
    }
    bool shows(const char* name, const std::string& path) const
    {
        const UninstallApp* shown = app(name);
        return shown && itemPaths(shown).count(path) > 0;
    }
    // The rows of the Exclusions window: item, what it applies to, and whether it can be selected.
    QStringList exclusionRows() const
    {
        QStringList rows;
        QTreeWidget* list = screen()->exclusionsWindowController->list;
        for (int at = 0; at < list->topLevelItemCount(); ++at) {
            const QTreeWidgetItem* row = list->topLevelItem(at);
            rows << row->text(0) + " | " + row->text(1) + ((row->flags() & Qt::ItemIsSelectable) ? "" : " | fixed");
        }
        return rows;
    }
    ExclusionsWindowController* openExclusions()
    {
        QTest::mouseClick(screen()->btnExclusions, Qt::LeftButton);
        ExclusionsWindowController* window = screen()->exclusionsWindowController.get();
        return window && window->window()->isVisible() ? window : nullptr;
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }
    void init()
    {
        makeTree();
        tree->makeDirectories(tree->at("~/.Trash"));
        harbor = addApp("Harbor Post", "com.harbor.post");
        lumen = addApp("Lumen Sketch", "com.lumen.sketch");
    }
    void cleanup() { tearDown(); }

    // Reset… ticks every item but the bundle and says the application stays and what its data
    // comes to; confirmed, the items go to the Trash (those the user unticked stay), the bundle stays
    // byte for byte, the completed screen says reset, and Put Back returns everything.
    void resetTakesTheDataAndKeepsTheBundle_data()
    {
        QTest::addColumn<QString>("untick");
        QTest::newRow("everything") << QString();
        QTest::newRow("caches unticked") << QString("com.harbor.post");
    }
    void resetTakesTheDataAndKeepsTheBundle()
    {
        QFETCH(QString, untick);
        openList();
        const auto bundleBefore = contentsBelow(harbor);
        const auto lumenItems = itemPaths(app("Lumen Sketch"));
        QAction* reset = rowAction("Harbor Post", "Reset…");
        QVERIFY(reset && reset->isEnabled());
        // Cancelled, the sheet leaves the ticks as they were.
        reset->trigger();
        QVERIFY(screen()->requestUninstallWinodowController && !itemPaths(app("Harbor Post"), true).empty());
        screen()->requestUninstallWinodowController->btnCancel->click();
        QVERIFY(itemPaths(app("Harbor Post"), true).empty());
        reset->trigger();
        RequestUninstallWinodowController* sheet = screen()->requestUninstallWinodowController.get();
        QVERIFY(sheet && sheet->window()->isVisible() && sheet->itemModel());
        const UninstallApp* harborApp = app("Harbor Post");
        std::set<std::string> data = itemPaths(harborApp);
        QVERIFY(data.erase(harbor) == 1 && data.count(cacheOf("com.harbor.post")) && data.count(prefsOf("com.harbor.post")));
        QCOMPARE(itemPaths(harborApp, true), data);
        QVERIFY(itemPaths(app("Lumen Sketch"), true).empty());
        QCOMPARE(sheet->lbTitle->text(), QString("Reset “Harbor Post”?"));
        QCOMPARE(sheet->btnOk->text(), QString("Reset"));
        const auto said = [&](const QString& fate) {
            std::int64_t bytes = 0;
            for (const auto& group : harborApp->fileGroups)
                for (const auto& item : group->fileItem)
                    bytes += item->isSelected ? item->size : 0;
            return QString("Harbor Post stays installed. Its settings, caches and other data (%1) %2")
                .arg(localizedByteCount(bytes).replace(' ', QChar(0x00A0)), fate);
        };
        const QString toTrash = "go to the Trash; you can put them back.";
        QVERIFY(sheet->lbTotal->text().contains(QString("3") + QChar(0x00A0) + "KB"));
        QCOMPARE(sheet->lbTotal->text(), said(toTrash));
        sheet->cbRemoveImmediately->setChecked(true);
        QCOMPARE(sheet->lbTotal->text(), said("are deleted."));
        sheet->cbRemoveImmediately->setChecked(false);
        // The bundle's group is not offered; a file's box unticks it and the size follows.
        AppListModel* items = sheet->itemModel();
        const QModelIndex appRow = items->index(0, 0);
        QModelIndex kept;
        for (int g = 0; g < items->rowCount(appRow); ++g) {
            const QModelIndex group = items->index(g, 0, appRow);
            const bool hidden = sheet->itemList()->isRowHidden(g, appRow);
            QCOMPARE(hidden, items->groupAt(group)->type == RkUninstallCategoryType::bundle);
            if (!untick.isEmpty() && !kept.isValid())
                kept = rowNamed(items, untick, group);
        }
        if (!untick.isEmpty()) {
            QVERIFY(kept.isValid());
            const QString before = sheet->lbTotal->text();
            NSOutlineViewEx* list = sheet->itemList();
            list->scrollTo(kept);
            QStyleOptionViewItem option;
            option.rect = list->visualRect(kept);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowDelegate()->checkRect(option, kept).center());
            QCOMPARE(checkOf(kept), Qt::Unchecked);
            QVERIFY(sheet->lbTotal->text() != before);
            QCOMPARE(sheet->lbTotal->text(), said(toTrash));
            data.erase(cacheOf("com.harbor.post"));
        }
        if (untick.isEmpty()) {
            // The run itself keeps the bundle, even ticked.
            for (const auto& group : harborApp->fileGroups)
                for (const auto& item : group->fileItem)
                    item->isSelected = item->isSelected || item->filePath == harbor;
        }
        sheet->btnOk->click();
        QTRY_VERIFY(!screen()->uninstallingViewController->isHidden);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->uninstallingViewController->isHidden, 60000);
        UninstallCompletedViewController* completed = screen()->uninstallCompletedViewController;
        QVERIFY(!completed->isHidden && screen()->uninstallResidualViewController->isHidden);
        QCOMPARE(completed->lbCompleted->text(), QString("The following application has been reset. It stays installed."));
        QCOMPARE(contentsBelow(harbor), bundleBefore);
        for (const auto& path : data)
            QVERIFY2(!platform::fs::linkStatus(path) && platform::fs::linkStatus(tree->at("~/.Trash/" + platform::path::lastComponent(path))),
                     path.c_str());
        QCOMPARE(platform::fs::exists(cacheOf("com.harbor.post") + "/cache.db"), !untick.isEmpty());
        for (const auto& path : lumenItems)
            QVERIFY2(platform::fs::linkStatus(path), path.c_str());
        QVERIFY(completed->btnPutBack->isVisible());
        completed->putBack_click();
        QTRY_VERIFY_WITH_TIMEOUT(screen()->mainView->isVisible() && screen()->isSizeSortable(), 20000);
        for (const auto& path : data)
            QVERIFY2(platform::fs::linkStatus(path), path.c_str());
        QCOMPARE(contentsBelow(harbor), bundleBefore);
    }

    // The window lists each exclusion (for every application or one, named), the protected
    // applications and Ostrova itself, which cannot be selected; Remove takes the selected ones out
    // of the store and the list shows what they kept out again.
    void exclusionsAreListedAndRemoved()
    {
        QVERIFY(ExclusionStore::add(cacheOf("com.harbor.post"), ""));
        QVERIFY(ExclusionStore::add(prefsOf("com.harbor.post"), "com.harbor.post"));
        QVERIFY(ExclusionStore::protect("com.lumen.sketch"));
        openList();
        QVERIFY(!shows("Harbor Post", cacheOf("com.harbor.post")) && app("Lumen Sketch")->isProtected);
        ExclusionsWindowController* window = openExclusions();
        QVERIFY(window);
        QCOMPARE(exclusionRows(), QStringList({"~/Library/Caches/com.harbor.post | Every application",
                                               "~/Library/Preferences/com.harbor.post.plist | Harbor Post",
                                               "Ostrova | Protected, always | fixed", "Lumen Sketch | Protected application"}));
        QVERIFY(window->lbDropped->isHidden() && !window->btnRemove->isEnabled());
        const auto clickRow = [&](int row, Qt::KeyboardModifiers keys) {
            QTreeWidget* list = window->list;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualItemRect(list->topLevelItem(row)).center());
        };
        clickRow(2, {});
        QVERIFY(window->list->selectedItems().isEmpty() && !window->btnRemove->isEnabled());
        clickRow(0, {});
        clickRow(3, Qt::ControlModifier);
        QCOMPARE(window->list->selectedItems().size(), 2);
        QVERIFY(window->btnRemove->isEnabled());
        window->btnRemove->click();
        const Exclusions stored = ExclusionStore::load();
        QCOMPARE(stored.paths().size(), std::size_t(1));
        QCOMPARE(stored.paths().front().path, prefsOf("com.harbor.post"));
        QVERIFY(stored.protectedApplications().empty());
        QCOMPARE(exclusionRows().size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->isSizeSortable() && shows("Harbor Post", cacheOf("com.harbor.post")), 20000);
        QVERIFY(!app("Lumen Sketch")->isProtected && !shows("Harbor Post", prefsOf("com.harbor.post")));
    }

    // Exclusions that take effect while the sheet is open: the sheet's list is reset around the
    // change as the window's are, so no row it keeps shows another item.
    void aChangeOfTheRecordsResetsTheOpenSheet()
    {
        openList();
        rowAction("Harbor Post", "Reset…")->trigger();
        RequestUninstallWinodowController* sheet = screen()->requestUninstallWinodowController.get();
        QVERIFY(sheet && sheet->itemModel());
        const ShownRows kept = shownRows(sheet->itemModel());
        QVERIFY(kept.size() > 3);
        QVERIFY(ExclusionStore::add(cacheOf("com.harbor.post"), ""));
        QVERIFY(applyingExclusionsKeepsRows(*driver->manager, sheet->itemModel(), kept));
        QVERIFY(!itemPaths(app("Harbor Post")).count(cacheOf("com.harbor.post")));
        sheet->btnCancel->click();
    }

    // A store that is partly unreadable: the sound entries are listed and the others counted.
    void unreadableEntriesAreCounted_data()
    {
        QTest::addColumn<int>("broken");
        QTest::addColumn<QString>("said");
        QTest::newRow("one") << 1 << "1 entry of the stored exclusions could not be read and was left out.";
        QTest::newRow("two") << 2 << "2 entries of the stored exclusions could not be read and were left out.";
    }
    void unreadableEntriesAreCounted()
    {
        QFETCH(int, broken);
        QFETCH(QString, said);
        plist::Array entries{plist::Value(plist::Dictionary{{"Path", plist::Value(cacheOf("com.harbor.post"))}}), plist::Value("not an entry")};
        if (broken > 1)
            entries.emplace_back(plist::Dictionary{{"Path", plist::Value("Library/relative")}});
        QVERIFY(platform::UserDefaults("com.qzt.ostrova").setObject("ExcludedItems", plist::Value(entries)));
        openList();
        ExclusionsWindowController* window = openExclusions();
        QVERIFY(window);
        QCOMPARE(exclusionRows().first(), QString("~/Library/Caches/com.harbor.post | Every application"));
        QCOMPARE(exclusionRows().size(), 2);
        QVERIFY(window->lbDropped->isVisible());
        QCOMPARE(window->lbDropped->text(), said);
    }
};

QTEST_MAIN(ResetAndExclusionsTest)
#include "ResetAndExclusionsTest.moc"
