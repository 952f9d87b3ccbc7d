// The uninstall flow in the real window (offscreen): the confirmation sheet, the force-quit question
// the delete queue waits for, and, as root with the real daemon over its socket, whole removals
// that end on the completed or the leftovers screen and come back to a refreshed list.
#include "ScreenFixture.h"
#include "app/ui/MainViewDelegateBridge.h"
#include "app/ui/UninstallResidualView.h"
#include "fixtures/BackgroundProcess.h"

#include <QAbstractButton>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>

#include <atomic>
#include <thread>

class UninstallFlowTest : public QObject, ScreenFixture {
    Q_OBJECT

    // The application's program, running (a copy of sleep inside its bundle).
    static std::unique_ptr<fixtures::BackgroundProcess> run(const std::string& bundle, const std::string& executableName)
    {
        const std::string executable = fixtures::copyExecutable(bundle + "/Contents/MacOS/" + executableName);
        auto process = std::make_unique<fixtures::BackgroundProcess>(std::vector<std::string>{executable, "60"});
        return process->waitUntilRunning(executable) ? std::move(process) : nullptr;
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }
    void init() { makeTree(); }
    void cleanup() { tearDown(); }

    void aDroppedApplicationIsChosenAndCancelOnTheSheetChangesNothing()
    {
        const std::string harbor = addApp("Harbor Post", "com.harbor.post");
        const std::string lumen = addApp("Lumen Sketch", "com.lumen.sketch");
        openList();
        // A bundle dropped on the list is ticked; other things dropped are refused.
        const auto dragged = [&](QMimeData& data, bool drop) {
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(driver->outline()->viewport(), &enter);
            QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            if (enter.isAccepted() && drop)
                QCoreApplication::sendEvent(driver->outline()->viewport(), &dropped);
            return enter.isAccepted() && (!drop || dropped.isAccepted());
        };
        QMimeData data, text;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(lumen)), QUrl::fromLocalFile("/tmp/readme.txt")});
        QVERIFY(dragged(data, true));
        QCOMPARE(driver->checkState(driver->appRow("Lumen Sketch")), Qt::Checked);
        QCOMPARE(driver->checkState(driver->appRow("Harbor Post")), Qt::Unchecked);
        QCOMPARE(screen()->deleteApps().size(), size_t(1));
        text.setText("not a bundle");
        QVERIFY(!dragged(text, false));
        tick({"Harbor Post"});

        // Cancel, and Escape (or the close box) too, never a confirmation.
        for (const bool escape : {false, true}) {
            RequestUninstallWinodowController* sheet = pressUninstall();
            QVERIFY(sheet && sheet->window()->isVisible());
            QCOMPARE(sheet->window()->windowModality(), Qt::WindowModal);
            QCOMPARE(sheet->window()->parentWidget(), driver->window);
            QCOMPARE(sheet->lbTitle->text(), QStringLiteral("Uninstall 2 applications?"));
            QVERIFY(!sheet->lbScrollHint->isVisible());
            QCOMPARE(sheet->btnOk->text(), QStringLiteral("Continue uninstall"));
            QCOMPARE(sheet->list()->model()->rowCount(), 2);
            QCOMPARE(sheet->list()->view()->height(), 72);

            if (escape)
                QTest::keyClick(sheet->window(), Qt::Key_Escape);
            else
                sheet->btnCancel->click();
            QCOMPARE(sheet->retCode, 0);
            QTRY_VERIFY(!sheet->window()->isVisible());
            QVERIFY(screen()->mainView->isVisible() && screen()->uninstallingViewController->isHidden);
            QCOMPARE(screen()->deleteApps().size(), size_t(2));
            QVERIFY(platform::fs::exists(harbor));
        }
    }

    // The sheet names the items that need an administrator's password before anything is asked: a
    // launch daemon of the system's goes through the daemon with that right; the user's own items
    // need nobody.
    void theSheetNamesWhatNeedsAPasswordAndCancelEndsTheWait()
    {
        const std::string harbor = addApp("Harbor Post", "com.harbor.post");
        addApp("Lumen Sketch", "com.lumen.sketch");
        const std::string job = tree->at("/Library/LaunchDaemons/com.harbor.post.helper.plist");
        tree->writePlist(job, plist::Value(plist::Dictionary{{"Label", "com.harbor.post.helper"},
                                                             {"Program", harbor + "/Contents/MacOS/HarborPost"}}));
        openList();
        tick({"Lumen Sketch"});
        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet && !sheet->lbNeedsPassword->isVisible());
        sheet->btnCancel->click();
        QTRY_VERIFY(!sheet->window()->isVisible());

        // Harbor Post first, Lumen Sketch after it.
        tick({"Lumen Sketch", "Harbor Post", "Lumen Sketch"});
        QCOMPARE(screen()->deleteApps().front()->displayName(), std::string("Harbor Post"));
        sheet = pressUninstall();
        QVERIFY(sheet->lbNeedsPassword->isVisible());
        QCOMPARE(sheet->lbNeedsPassword->text(),
                 QStringLiteral("These need an administrator's password:\n") + QString::fromStdString(job));

        // No daemon answers here: the removal waits for one to be installed, and Cancel ends that
        // wait at once. What was not removed stays, Lumen Sketch after it too, and the window ends
        // on the leftovers screen.
        sheet->btnOk->click();
        QTRY_VERIFY(!screen()->uninstallingViewController->isHidden);
        QPushButton* cancel = screen()->uninstallingViewController->btnCancel;
        QVERIFY(cancel->isVisible() && cancel->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!cancel->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(screen()->uninstallingViewController->isHidden, 60000);
        QVERIFY(!screen()->uninstallResidualViewController->isHidden);
        QVERIFY(platform::fs::exists(job) && platform::fs::exists(tree->at("/Applications/Lumen Sketch.app")));
        const auto record = driver->manager->lastRemoval();
        QVERIFY(record);
        for (const auto& item : record->items)
            QVERIFY2(item.state != RemovalRecord::State::moved || item.application == "Harbor Post", item.originalPath.c_str());
    }

    void sixChosenApplicationsGiveAListThatScrolls()
    {
        for (int i = 1; i <= 6; ++i)
            addApp("Tool " + std::to_string(i), "com.tools.tool" + std::to_string(i));
        openList();
        for (int i = 1; i <= 6; ++i)
            driver->clickCheckBox(driver->appRow(QStringLiteral("Tool %1").arg(i)));
        QCOMPARE(screen()->deleteApps().size(), size_t(6));
        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet);
        QCOMPARE(sheet->list()->view()->height(), 162);
        QCOMPARE(sheet->list()->model()->rowCount(), 6);
        QTRY_VERIFY(sheet->list()->view()->verticalScrollBar()->maximum() > 0);
        QVERIFY(sheet->lbScrollHint->isVisible());
        QCOMPARE(sheet->lbScrollHint->text(), QStringLiteral("Scroll to see all 6."));
        QCOMPARE(sheet->lbTitle->text(), QStringLiteral("Uninstall 6 applications?"));
        sheet->btnCancel->click();
    }

    void forceQuitQuestionHoldsTheDeleteQueueUntilAnswered()
    {
        addApp("Harbor Post", "com.harbor.post");
        openList();
        const auto app = driver->manager->allApps().front();
        // The screen's own delegate, as the catalogue calls it from the delete queue.
        const auto delegate = std::make_shared<MainViewDelegateBridge>(screen());

        for (const bool forceQuit : {true, false}) {
            std::atomic<int> answer{-1};
            std::thread deleteQueue([&] { answer = delegate->shouldForceQuit(app) ? 1 : 0; });
            QTRY_VERIFY(screen()->currentAlert());
            QMessageBox* alert = screen()->currentAlert();
            QCOMPARE(alert->text(), QStringLiteral("Harbor Post is running, do you want to force quit?"));
            QCOMPARE(alert->informativeText(), QStringLiteral("Force quit may result in loss of data being edited"));
            QCOMPARE(alert->buttons().size(), 2);
            QCOMPARE(alert->windowModality(), Qt::WindowModal);
            QTest::qWait(50);
            QCOMPARE(answer.load(), -1);  // still waiting for the user
            buttonTitled(alert, forceQuit ? "Force quit" : "Cancel")->click();
            QTRY_COMPARE(answer.load(), forceQuit ? 1 : 0);
            deleteQueue.join();
            QTRY_VERIFY(!screen()->currentAlert());
        }

        // No window to ask in: the answer is no, at once.
        driver->window->hide();
        std::atomic<int> answer{-1};
        std::thread deleteQueue([&] { answer = delegate->shouldForceQuit(app) ? 1 : 0; });
        QTRY_COMPARE(answer.load(), 0);
        deleteQueue.join();
    }

    // The running application is force quit (the removal ends on the completed screen) or, the
    // question cancelled, left running with its bundle, while the next application goes.
    void removalThroughTheDaemonAsksToForceQuit_data()
    {
        QTest::addColumn<bool>("forceQuit");
        QTest::newRow("force quit") << true;
        QTest::newRow("cancel") << false;
    }
    void removalThroughTheDaemonAsksToForceQuit()
    {
        if (::geteuid() != 0)
            QSKIP("the daemon runs as root");
        QFETCH(bool, forceQuit);
        QVERIFY(startDaemon());
        const std::string harbor = addApp("Harbor Post", "com.harbor.post");
        const std::string lumen = addApp("Lumen Sketch", "com.lumen.sketch");
        addApp("Aster Diagram", "com.aster.diagram");
        const auto running = run(harbor, "HarborPost");
        QVERIFY(running);
        openList();
        tick({"Harbor Post", "Lumen Sketch"});

        RequestUninstallWinodowController* sheet = pressUninstall();
        QSignalSpy progress(screen()->uninstallingViewController->progress, &QProgressBar::valueChanged);
        sheet->btnOk->click();
        QTRY_VERIFY(!screen()->uninstallingViewController->isHidden);
        QVERIFY(!screen()->mainView->isVisible());
        QCOMPARE(screen()->uninstallingViewController->list()->model()->rowCount(), 2);

        QTRY_VERIFY_WITH_TIMEOUT(screen()->currentAlert(), 20000);
        QCOMPARE(screen()->currentAlert()->text(), QStringLiteral("Harbor Post is running, do you want to force quit?"));
        buttonTitled(screen()->currentAlert(), forceQuit ? "Force quit" : "Cancel")->click();
        if (!forceQuit) {
            QTRY_VERIFY_WITH_TIMEOUT(!screen()->uninstallResidualViewController->isHidden, 60000);
            QVERIFY(!running->ended(100));
            QVERIFY(platform::fs::exists(harbor));
            QVERIFY(!platform::fs::linkStatus(lumen));
            return;
        }

        QTRY_VERIFY_WITH_TIMEOUT(!screen()->uninstallCompletedViewController->isHidden, 60000);
        QVERIFY(screen()->uninstallCompletedViewController->view()->isVisible());
        QVERIFY(screen()->uninstallResidualViewController->isHidden && screen()->uninstallingViewController->isHidden);
        QVERIFY(running->ended(5000));
        QVERIFY(!platform::fs::linkStatus(harbor) && !platform::fs::linkStatus(lumen));
        // The bar went through the half-way mark on its way to the end.
        QList<int> values;
        for (const auto& call : progress)
            values << call.first().toInt();
        QVERIFY2(values.contains(500), qPrintable(QString::number(values.size())));
        QCOMPARE(screen()->uninstallingViewController->progress->value(), 1000);

        FlatAppList* removed = screen()->uninstallCompletedViewController->list();
        QCOMPARE(removed->model()->rowCount(), 2);
        QVERIFY(removed->model()->index(0, AppListModel::kSizeColumn).data().toString().endsWith("KB"));
        QTest::mouseClick(screen()->uninstallCompletedViewController->btnCompleted, Qt::LeftButton);
        QTRY_VERIFY(screen()->mainView->isVisible());
        QVERIFY(screen()->uninstallCompletedViewController->isHidden);
        // The application of the generated bundle itself stays listed, as on a Mac.
        QVERIFY(driver->appRow("Aster Diagram").isValid());
        QVERIFY(!driver->appRow("Harbor Post").isValid() && !driver->appRow("Lumen Sketch").isValid());
    }

    void aFileTheRemovalCannotTakeEndsOnTheLeftoversScreen()
    {
        if (::geteuid() != 0)
            QSKIP("the daemon runs as root");
        QVERIFY(startDaemon());
        const std::string harbor = addApp("Harbor Post", "com.harbor.post");
        addApp("Lumen Sketch", "com.lumen.sketch");
        const std::string stuck = tree->at("~/Library/Logs/Lumen Sketch/locked.log");
        tree->writeFile(stuck, "x");
        QVERIFY(makeImmutable(stuck));
        openList();
        tick({"Harbor Post", "Lumen Sketch"});
        // Deleted at once: a move to the Trash would take the folder whole.
        RequestUninstallWinodowController* sheet = pressUninstall();
        sheet->cbRemoveImmediately->setChecked(true);
        sheet->btnOk->click();

        QTRY_VERIFY_WITH_TIMEOUT(screen()->uninstallingViewController->isHidden, 60000);
        QVERIFY(!screen()->uninstallResidualViewController->isHidden && screen()->uninstallCompletedViewController->isHidden);
        QVERIFY(!platform::fs::linkStatus(harbor));
        UninstallResidualView* left = screen()->uninstallResidualViewController->uninstatllResidualView;
        AppListModel* model = left->model();
        // Only the application something is left of is listed: Harbor Post went whole.
        QCOMPARE(model->rowCount(), 1);
        const QModelIndex lumenRow = model->index(0, 0);
        QCOMPARE(lumenRow.data().toString(), QStringLiteral("Lumen Sketch"));
        QCOMPARE(model->rowCount(lumenRow), 1);
        const QModelIndex group = model->index(0, 0, lumenRow);
        QCOMPARE(group.data().toString(), QStringLiteral("Log files"));
        QCOMPARE(model->rowCount(group), 1);
        const QModelIndex file = model->index(0, 0, group);
        QCOMPARE(file.data(AppListModel::RevealPathRole).toString(), QString::fromStdString(tree->at("~/Library/Logs/Lumen Sketch")));
        QVERIFY(left->outlineView()->isExpanded(lumenRow) && left->outlineView()->isExpanded(group));

        QTest::mouseClick(screen()->uninstallResidualViewController->btnCompleted, Qt::LeftButton);
        QTRY_VERIFY(screen()->mainView->isVisible());
        QVERIFY(!driver->appRow("Harbor Post").isValid());
        const QModelIndex lumen = driver->appRow("Lumen Sketch");
        QCOMPARE(driver->checkState(lumen), Qt::Unchecked);
        QCOMPARE(driver->model()->rowCount(lumen), 1);
        QCOMPARE(driver->model()->index(0, 0, lumen).data().toString(), QStringLiteral("Log files"));
        QVERIFY(screen()->deleteApps().empty());
    }
};

QTEST_MAIN(UninstallFlowTest)
#include "UninstallFlowTest.moc"
