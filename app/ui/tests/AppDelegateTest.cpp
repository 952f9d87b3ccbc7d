// Start-up in the test process: the usage event over a real HTTP server, the agent's login item,
// the window, and the window's close button quitting.
#include "app/locations/ReviewManager.h"
#include "app/catalogue/UninstallAppManager.h"
#include "app/online/GALogging.h"
#include "app/ui/AppDelegate.h"
#include "app/ui/MainViewController.h"
#include "app/ui/MainWindowController.h"
#include "app/ui/SandboxAuthorizeWindowController.h"
#include "fixtures/LocalTime.h"
#include "fixtures/MacTree.h"
#include "fixtures/RecordingHttpServer.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>


class AppDelegateTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;
    std::unique_ptr<fixtures::RecordingHttpServer> server;
    std::vector<std::pair<std::string, bool>> loginItemCalls;

    // The grant window of a sandboxed start is modal: the user closes it a moment later.
    static void closeDialogsSoon()
    {
        QTimer::singleShot(100, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                    dialog->close();
            }
        });
    }

    std::unique_ptr<AppDelegate> makeDelegate()
    {
        auto delegate = std::make_unique<AppDelegate>("com.qzt.ostrova", UninstallAppManager::make());
        delegate->setLoginItemEnabled = [this](const std::string& id, bool enabled) {
            loginItemCalls.emplace_back(id, enabled);
            return true;
        };
        return delegate;
    }

private slots:
    void initTestCase()
    {
        platform::installQtMainQueue();
        // The shared event logger reads its endpoint once, on first use.
        server = std::make_unique<fixtures::RecordingHttpServer>();
        qputenv("OSTROVA_EVENT_ENDPOINT", QByteArray::fromStdString(server->endpoint()));
    }

    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
        loginItemCalls.clear();
    }

    void cleanup()
    {
        ReviewManager::shared().setClock(nullptr);
        tree.reset();
    }

    void startUpReportsTheStartRegistersTheAgentAndShowsTheWindow()
    {
        auto delegate = makeDelegate();
        QCOMPARE(delegate->helperBundleID, std::string("com.qzt.ostrova.agent"));
        const auto before = server->requests().size();
        delegate->applicationDidFinishLaunching();
        GALogging::standard().waitForPendingRequests();

        const auto requests = server->requests();
        QCOMPARE(requests.size(), before + 1);
        const std::string line = fixtures::RecordingHttpServer::requestLine(requests.back());
        QVERIFY2(line.rfind("POST /php/page-events.php?id=", 0) == 0, line.c_str());
        QVERIFY2(line.find("&name=ostrova_zh_Unknown_Unknown&action=start&label=MacOs%20") != std::string::npos, line.c_str());

        QCOMPARE(loginItemCalls.size(), size_t(1));
        QCOMPARE(loginItemCalls.front().first, std::string("com.qzt.ostrova.agent"));
        QVERIFY(loginItemCalls.front().second);

        QWidget* window = delegate->mainWindowController->window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->size(), QSize(860, 560));
        QCOMPARE(window->windowTitle(), QString());
        QVERIFY(window->isAncestorOf(delegate->mainWindowController->mainViewContoller->view()));
        QVERIFY(QApplication::quitOnLastWindowClosed());
    }

    void sandboxedBuildInTheReviewPeriodLeavesTheLoginItemAlone()
    {
        tree->environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
        const auto before = server->requests().size();
        ReviewManager::shared().setClock([] { return fixtures::localDate(2024, 5, 1); });
        closeDialogsSoon();
        makeDelegate()->applicationDidFinishLaunching();
        QVERIFY(loginItemCalls.empty());

        ReviewManager::shared().setClock([] { return fixtures::localDate(2024, 7, 11); });
        closeDialogsSoon();
        makeDelegate()->applicationDidFinishLaunching();
        QCOMPARE(loginItemCalls.size(), size_t(1));

        GALogging::standard().waitForPendingRequests();
        QCOMPARE(server->requests().size(), before);  // nothing is reported from the sandbox
    }

    void sandboxedStartAsksForTheMissingGrantsBeforeTheList()
    {
        tree->environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
        ReviewManager::shared().setClock([] { return fixtures::localDate(2025, 1, 1); });
        auto delegate = makeDelegate();
        bool askedFirst = false;
        QTimer::singleShot(200, [&] {
            QDialog* window = delegate->sandboxAuthorizeWindow->window();
            askedFirst = window->isVisible() && !delegate->mainWindowController;
            window->close();  // the user closes it without granting
        });
        delegate->applicationDidFinishLaunching();
        QVERIFY(askedFirst);
        QCOMPARE(delegate->sandboxAuthorizeWindow->retCode, 0);
        QVERIFY(delegate->mainWindowController && delegate->mainWindowController->window()->isVisible());
    }

    // Last: it runs the application's event loop until the application quits.
    void closingTheWindowQuits()
    {
        auto delegate = makeDelegate();
        delegate->applicationDidFinishLaunching();
        QPointer<QWidget> window = delegate->mainWindowController->window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        // The close button goes through close_click, which closes the window; the application quits.
        QTimer::singleShot(100, window, [window] { window->close(); });
        QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(7); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(lastClosed.count(), 1);
        QTRY_VERIFY(!window);
    }
};

QTEST_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
