// Put Back in the real window (offscreen) over a generated Mac: removals through the sheet into the
// Trash, the completed and leftovers screens' Trash line and Put Back button, the list found again
// afterwards, and the "Remove immediately" setting. Every item here is one the test process (root)
// moves itself; the daemon runs only because the window installs it when it does not answer.
#include "ScreenFixture.h"
#include "app/ui/AppListModel.h"
#include "app/removal/RemovalRecord.h"
#include "app/ui/RemoveImmediatelySetting.h"
#include "Auxiliary/ByteCountFormatter.h"
#include "fixtures/BackgroundProcess.h"
#include "fixtures/ChildProcess.h"
#include "platform/LaunchJobFile.h"
#include "platform/LaunchJobRecord.h"
#include "platform/PathUtil.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QMap>

#include <algorithm>

class PutBackTest : public QObject, ScreenFixture {
    Q_OBJECT

    static constexpr const char* kAgentLabel = "com.harbor.post.agent";

    std::string agentFile() const { return tree->at(std::string("~/Library/LaunchAgents/") + kAgentLabel + ".plist"); }

    bool agentLoadedFromItsFile() const
    {
        std::string why;
        const auto file = platform::LaunchJobFile::read(agentFile(), false, why);
        const auto job = platform::LaunchJobRecord::read(kAgentLabel);
        return file && job && job->loaded() && job->loadedFrom(agentFile(), *file);
    }
    UninstallCompletedViewController* completed() { return screen()->uninstallCompletedViewController; }
    std::string trash() const { return tree->at("~/.Trash"); }

    // Harbor Post and Lumen Sketch to remove, Aster Diagram to stay; the list scanned. `withAgent`:
    // Harbor Post has a launch agent of the user's, loaded from its file, running a program of its own.
    void prepare(bool withAgent)
    {
        QVERIFY(startDaemon());
        addApp("Harbor Post", "com.harbor.post");
        addApp("Lumen Sketch", "com.lumen.sketch");
        addApp("Aster Diagram", "com.aster.diagram");
        if (withAgent) {
            // Its program lies in another item of the removal (inside the bundle it would make the
            // application run).
            const std::string program = fixtures::copyExecutable(tree->at("~/Library/Application Support/Harbor Post/HarborPostAgent"));
            tree->writePlist(agentFile(), plist::Value(plist::Dictionary{
                                              {"Label", kAgentLabel}, {"ProgramArguments", plist::Array{plist::Value(program), plist::Value("60")}}}));
            QCOMPARE(fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "load", agentFile()}).exitCode, 0);
            QVERIFY(agentLoadedFromItsFile());
        }
        openList();
    }

    // Answers whether the list opened (and the two applications got ticked) without a failure.
    bool opened(bool withAgent = false, bool tick = true)
    {
        prepare(withAgent);
        if (tick && !QTest::currentTestFailed())
            tickBoth();
        return !QTest::currentTestFailed();
    }

    // What the removal is to take of the application on the list: its ticked items and their bytes
    // (`except` left out of the bytes).
    std::set<std::string> tickedItems(const QString& name, std::int64_t* bytes = nullptr, const std::string& except = "")
    {
        std::set<std::string> paths;
        const UninstallApp* app = driver->appAt(driver->appRow(name));
        for (const auto& group : app ? app->fileGroups : decltype(app->fileGroups){})
            for (const auto& item : group->fileItem)
                if (item->isSelected && paths.insert(item->filePath).second && bytes && item->filePath != except)
                    *bytes += item->size;
        return paths;
    }

    // The whole Mac, aside from the removal records (written by every run) and the user defaults
    // (where the list keeps its column widths whenever it has laid them out).
    std::set<std::string> listing() const
    {
        auto paths = fixtures::pathsBelow(tree->root(), tree->at("~/Library/Application Support/Ostrova"));
        const std::string defaults = tree->at("~/.config");
        std::erase_if(paths, [&](const std::string& path) { return path == defaults || path.rfind(defaults + "/", 0) == 0; });
        return paths;
    }

    // The Mac as it was before: a failure names the paths in one listing and not the other.
    void expectTheMacAsBefore(const std::set<std::string>& before) const
    {
        const auto after = listing();
        QVERIFY2(after == before, differenceOf(before, after).c_str());
    }

    static QString sizeText(std::int64_t bytes) { return QString::fromStdString(format2ByteCountString(bytes)); }
    static QString movedToTheTrash(std::int64_t bytes)
    {
        return QStringLiteral("Moved %1 to the Trash. Empty the Trash to free the space.").arg(sizeText(bytes));
    }

    std::set<std::string> namesInTrash() const
    {
        std::set<std::string> names;
        for (const auto& path : fixtures::pathsBelow(trash())) {
            if (path != trash() && path.find('/', trash().size() + 1) == std::string::npos)
                names.insert(path.substr(trash().size() + 1));
        }
        return names;
    }

    void tickBoth()
    {
        tick({"Harbor Post", "Lumen Sketch"});
        QCOMPARE(screen()->deleteApps().size(), std::size_t(2));
    }

    // Confirms the sheet for the ticked applications; `immediately` ticks its first check box.
    void confirmTheSheet(bool immediately)
    {
        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet && sheet->window()->isVisible());
        QCOMPARE(sheet->cbRemoveImmediately->text(), QStringLiteral("Delete immediately instead of moving to the Trash"));
        QCOMPARE(sheet->cbDeleteWhereNoTrash->text(), QStringLiteral("Delete what cannot be moved to the Trash"));
        QVERIFY(!sheet->cbRemoveImmediately->isChecked() && !sheet->cbDeleteWhereNoTrash->isChecked());
        if (immediately) {
            QTest::mouseClick(sheet->cbRemoveImmediately, Qt::LeftButton, {}, QPoint(6, sheet->cbRemoveImmediately->height() / 2));
            QVERIFY(sheet->cbRemoveImmediately->isChecked());
            QVERIFY(!sheet->cbDeleteWhereNoTrash->isEnabled());
        }
        sheet->btnOk->click();
        QTRY_VERIFY(!screen()->uninstallingViewController->isHidden);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->uninstallingViewController->isHidden, 60000);
    }

    bool removeThroughTheSheet(bool immediately)
    {
        confirmTheSheet(immediately);
        return !QTest::currentTestFailed();
    }

    // Back on the list after a put back: both applications listed again and scanned.
    void waitForTheListAgain()
    {
        QTRY_VERIFY_WITH_TIMEOUT(screen()->mainView->isVisible(), 20000);
        QVERIFY(completed()->isHidden);
        QVERIFY(screen()->uninstallResidualViewController->isHidden);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->isSizeSortable(), 20000);
        for (const char* name : {"Harbor Post", "Lumen Sketch", "Aster Diagram"})
            QVERIFY2(driver->appRow(name).isValid(), name);
        QCOMPARE(driver->checkState(driver->appRow("Harbor Post")), Qt::Unchecked);
        QVERIFY(screen()->deleteApps().empty());
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void init()
    {
        if (::geteuid() != 0)
            QSKIP("the window installs the daemon, which runs as root, when it does not answer");
        makeTree();
        tree->makeDirectories(trash());
        platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
    }

    void cleanup()
    {
        if (tree)
            fixtures::runProcess({OSTROVA_LAUNCHCTL_PATH, "remove", kAgentLabel});
        tearDown();
        platform::UserDefaults::setStandardDomain("");
    }

    void removalToTheTrashIsPutBackWhole_data()
    {
        QTest::addColumn<bool>("recordWritten");
        QTest::newRow("record written") << true;
        // Said on the screen; until Ostrova quits it puts back from the record in memory.
        QTest::newRow("record not written") << false;
    }
    void removalToTheTrashIsPutBackWhole()
    {
        QFETCH(bool, recordWritten);
        if (!opened())
            return;
        std::int64_t bytes = 0;
        std::set<std::string> taken = tickedItems("Harbor Post", &bytes);
        const std::int64_t harborBytes = bytes;
        const auto lumen = tickedItems("Lumen Sketch", &bytes);
        taken.insert(lumen.begin(), lumen.end());
        QVERIFY(taken.size() >= 6);
        QVERIFY(bytes > 120000);
        if (!recordWritten) {
            tree->makeDirectories(RemovalRecord::folder());
            QVERIFY(makeImmutable(RemovalRecord::folder()));
        }
        const auto before = listing();

        if (!removeThroughTheSheet(false))
            return;
        QVERIFY(!completed()->isHidden && completed()->view()->isVisible());
        // Each application's row says what its removal came to, on the progress screen before and
        // on this one after: together, what went to the Trash.
        const QMap<QString, QString> perApplication{{QStringLiteral("Harbor Post"), sizeText(harborBytes)},
                                                    {QStringLiteral("Lumen Sketch"), sizeText(bytes - harborBytes)}};
        for (FlatAppList* list : {screen()->uninstallingViewController->list(), completed()->list()}) {
            QCOMPARE(list->model()->rowCount(), 2);
            for (int row = 0; row < 2; ++row) {
                const QString name = list->model()->index(row, 0).data().toString();
                QCOMPARE(list->model()->index(row, AppListModel::kSizeColumn).data().toString(), perApplication.value(name));
            }
        }
        QCOMPARE(RemovalRecord::all().empty(), !recordWritten);
        QVERIFY(completed()->lbTrash->isVisible());
        QCOMPARE(completed()->lbTrash->text(), movedToTheTrash(bytes) + (recordWritten ? "" : " The record of this removal could not be "
                                                                                               "written: Put Back works only until Ostrova quits."));
        QVERIFY(completed()->btnPutBack->isVisible() && completed()->btnPutBack->isEnabled());
        QCOMPARE(completed()->btnPutBack->text(), QStringLiteral("Put Back"));

        // Each item lies in the Trash under its own name, and nowhere else.
        std::set<std::string> names;
        for (const auto& path : taken) {
            QVERIFY2(!platform::fs::linkStatus(path), path.c_str());
            names.insert(platform::path::lastComponent(path));
        }
        QCOMPARE(namesInTrash(), names);
        QVERIFY(names.count("Harbor Post.app") && names.count("com.lumen.sketch.plist"));

        QTest::mouseClick(completed()->btnPutBack, Qt::LeftButton);
        // The report comes back through the main queue, so the button is still waiting for it here.
        QVERIFY(!completed()->btnPutBack->isEnabled() && !completed()->btnCompleted->isEnabled());
        waitForTheListAgain();
        QVERIFY(!screen()->currentAlert());
        // The footer says what came back, until something is ticked.
        QCOMPARE(footer(), QStringLiteral("Put back %1 items (%2).").arg(taken.size()).arg(sizeText(bytes)));
        tick({"Aster Diagram"});
        QVERIFY(footer().startsWith(QStringLiteral("1 application selected")));
        tick({"Aster Diagram"});
        QCOMPARE(footer(), QString());
        QVERIFY(namesInTrash().empty());
        expectTheMacAsBefore(before);
    }

    // The agent the removal unloaded runs again once Put Back has brought back its file and the
    // folder its program lies in.
    void putBackLoadsTheAgentTheRemovalUnloaded()
    {
        if (!opened(true))
            return;
        QVERIFY(tickedItems("Harbor Post").count(agentFile()));
        if (!removeThroughTheSheet(false))
            return;
        QVERIFY(!platform::fs::linkStatus(agentFile()));
        const auto job = platform::LaunchJobRecord::read(kAgentLabel);
        QVERIFY(!job || !job->loaded());

        QTest::mouseClick(completed()->btnPutBack, Qt::LeftButton);
        waitForTheListAgain();
        QVERIFY(!screen()->currentAlert());
        QVERIFY(platform::fs::exists(agentFile()));
        QVERIFY(agentLoadedFromItsFile());
    }

    // The whole round from the keyboard: once scanned the list has the keys; the arrows, Space and
    // Return there and in the sheet, Command-Z on the completed screen.
    void theKeyboardAloneRemovesAndPutsBack()
    {
        if (!opened(false, false))
            return;
        NSOutlineViewEx* list = driver->outline();
        QTRY_VERIFY(list->hasFocus());
        const int target = driver->appRow("Lumen Sketch").row();
        QVERIFY(target > 0);
        for (int i = 0; i < target; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), target);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(driver->checkState(driver->appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(screen()->deleteApps().size(), std::size_t(1));
        const auto taken = tickedItems("Lumen Sketch");
        const auto before = listing();

        QTest::keyClick(list, Qt::Key_Return);
        RequestUninstallWinodowController* sheet = screen()->requestUninstallWinodowController.get();
        QVERIFY(sheet && sheet->window()->isVisible());
        QTest::keyClick(sheet->window(), Qt::Key_Return);
        QTRY_VERIFY(!sheet->window()->isVisible());
        // What a window manager does when a sheet closes (the offscreen platform has none).
        driver->window->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(!completed()->isHidden, 60000);
        for (const auto& path : taken)
            QVERIFY2(!platform::fs::linkStatus(path), path.c_str());

        QTRY_VERIFY2(completed()->btnCompleted->hasFocus(),
                     QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "no focus widget");
        QTest::keyClick(completed()->btnCompleted, Qt::Key_Z, Qt::ControlModifier);
        waitForTheListAgain();
        expectTheMacAsBefore(before);
    }

    void deletingImmediatelyMovesNothingToTheTrash()
    {
        if (!opened())
            return;
        QVERIFY(!RemoveImmediatelySetting::value());
        const auto taken = tickedItems("Harbor Post");
        QVERIFY(taken.size() >= 3);
        if (!removeThroughTheSheet(true))
            return;

        const auto stored = platform::UserDefaults::standard().objectForKey("RemoveImmediately");
        QVERIFY(stored && stored->get<bool>() && *stored->get<bool>());
        QVERIFY(platform::fs::exists(tree->at("~/.config/com.qzt.ostrova.plist")));

        QVERIFY(completed()->view()->isVisible());
        QVERIFY(!completed()->btnPutBack->isVisible() && !completed()->lbTrash->isVisible());
        QVERIFY(namesInTrash().empty());
        for (const auto& path : taken)
            QVERIFY2(!platform::fs::linkStatus(path), path.c_str());
        const auto record = driver->manager->lastRemoval();
        QVERIFY(record && record->countInTrash() == 0);
        // Where the administrator's password was not given, the screen says what stayed and why.
        auto refused = *record;
        refused.administratorRightRefused = true;
        completed()->showRemoval(refused);
        QVERIFY(completed()->lbTrash->isVisible());
        QCOMPARE(completed()->lbTrash->text(),
                 QStringLiteral("An administrator's password was not given, so what lies outside your home folder was left."));
        // So it does for remains that were no longer what was judged when the removal came to them.
        auto changed = *record;
        changed.leftAsInstalled = {tree->at("~/Library/Caches/a"), tree->at("~/Library/Caches/b")};
        changed.leftAsReplaced = {tree->at("~/Library/Caches/c")};
        completed()->showRemoval(changed);
        QVERIFY(completed()->lbTrash->isVisible());
        QCOMPARE(completed()->lbTrash->text(), QStringLiteral("2 items left, as an application with the same identifier is installed again. "
                                                              "1 item left, as another file now lies in its place."));
        completed()->showRemoval(*record);
        QVERIFY(!completed()->lbTrash->isVisible());

        // The next sheet starts from the stored choice, and unticking it is stored as well.
        QTest::mouseClick(completed()->btnCompleted, Qt::LeftButton);
        QTRY_VERIFY(screen()->mainView->isVisible());
        tick({"Aster Diagram"});
        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet && sheet->window()->isVisible());
        QVERIFY(sheet->cbRemoveImmediately->isChecked() && !sheet->cbDeleteWhereNoTrash->isChecked());
        sheet->cbRemoveImmediately->click();
        QVERIFY(!RemoveImmediatelySetting::value());
        QVERIFY(sheet->cbDeleteWhereNoTrash->isEnabled());
        sheet->btnCancel->click();
        QTRY_VERIFY(!sheet->window()->isVisible());
    }

    void aTakenPlaceIsReportedAndNotOverwritten()
    {
        if (!opened())
            return;
        const std::string prefs = tree->at("~/Library/Preferences/com.harbor.post.plist");
        const std::string cache = tree->at("~/Library/Caches/com.lumen.sketch");
        const std::string bundle = tree->at("/Applications/Lumen Sketch.app");
        if (!removeThroughTheSheet(false))
            return;
        QVERIFY(completed()->btnPutBack->isVisible());

        // Meanwhile a new preferences file takes the old one's place, and the Trash loses the cache.
        tree->writeFile(prefs, "new settings");
        QVERIFY(namesInTrash().count("com.lumen.sketch"));
        fixtures::MacTree::removeTree(trash() + "/com.lumen.sketch");

        QTest::mouseClick(completed()->btnPutBack, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->currentAlert(), 20000);
        QMessageBox* alert = screen()->currentAlert();
        QCOMPARE(alert->text(), QStringLiteral("Some items could not be put back."));
        QCOMPARE(alert->informativeText(), QString::fromStdString(prefs + ": its place is taken\n" + cache + ": emptied from the Trash"));
        QCOMPARE(alert->windowModality(), Qt::WindowModal);

        QCOMPARE(platform::fs::readFile(prefs).value_or(""), std::string("new settings"));
        QCOMPARE(platform::fs::readFile(trash() + "/com.harbor.post.plist").value_or(""), std::string("<plist/>"));
        QVERIFY(!platform::fs::linkStatus(cache));
        QVERIFY(platform::fs::exists(bundle + "/Contents/Resources/data.bin"));
        QCOMPARE(namesInTrash(), std::set<std::string>{"com.harbor.post.plist"});
        waitForTheListAgain();
    }

    // Everything emptied from the Trash by hand before Put Back: the window says nothing came back
    // and why, in the tool's words.
    void nothingPutBackIsSaidWithWhy()
    {
        if (!opened())
            return;
        if (!removeThroughTheSheet(false))
            return;
        for (const auto& name : namesInTrash())
            fixtures::MacTree::removeTree(trash() + "/" + name);
        QTest::mouseClick(completed()->btnPutBack, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(screen()->currentAlert(), 20000);
        QMessageBox* alert = screen()->currentAlert();
        QCOMPARE(alert->text(), QStringLiteral("Nothing was put back."));
        QVERIFY(alert->informativeText().contains(QString::fromStdString(tree->at("~/Library/Caches/com.lumen.sketch") + ": emptied from the Trash")));
        QVERIFY(!alert->informativeText().contains(QStringLiteral("its place")));
        // The list comes back without the two applications that stayed away.
        QTRY_VERIFY_WITH_TIMEOUT(screen()->isSizeSortable() && driver->appRow("Aster Diagram").isValid(), 20000);
        QVERIFY(!driver->appRow("Harbor Post").isValid());
    }

    void theLeftoversScreenOffersPutBackToo()
    {
        // A folder nothing may rename stays where it is: the run ends on the leftovers screen.
        const std::string stuck = tree->at("~/Library/Logs/Lumen Sketch");
        tree->writeFile(stuck + "/today.log", "x");
        if (!opened())
            return;
        QVERIFY(makeImmutable(stuck));
        std::int64_t bytes = 0;
        tickedItems("Harbor Post", &bytes);
        QVERIFY(tickedItems("Lumen Sketch", &bytes, stuck).count(stuck));
        const auto before = listing();

        if (!removeThroughTheSheet(false))
            return;
        UninstallResidualViewController* leftovers = screen()->uninstallResidualViewController;
        QVERIFY(!leftovers->isHidden && completed()->isHidden);
        QVERIFY(platform::fs::exists(stuck + "/today.log"));
        QVERIFY(leftovers->btnPutBack->isVisible());
        QCOMPARE(leftovers->lbTrash->text(), movedToTheTrash(bytes));
        QVERIFY(namesInTrash().count("Harbor Post.app") && namesInTrash().count("Lumen Sketch.app"));

        QTest::mouseClick(leftovers->btnPutBack, Qt::LeftButton);
        QVERIFY(!leftovers->btnPutBack->isEnabled());
        waitForTheListAgain();
        QVERIFY(!screen()->currentAlert());
        QVERIFY(namesInTrash().empty());
        expectTheMacAsBefore(before);
    }
};

QTEST_MAIN(PutBackTest)
#include "PutBackTest.moc"
