// The folder-grant window of a sandboxed build, with the real folder-access gate and user defaults;
// the user's choices in the open panel are played by a panel runner.
#include "app/locations/FolderAccess.h"
#include "app/locations/ReviewManager.h"
#include "app/ui/RkContainerView.h"
#include "app/ui/SandboxAuthorizeWindowController.h"
#include "Auxiliary/RkLabel.h"
#include "fixtures/LocalTime.h"
#include "fixtures/MacTree.h"
#include "platform/Sandbox.h"
#include "platform/UserDefaults.h"
#include "platform/qt/QtMainQueue.h"

#include <QPushButton>
#include <QTest>


class SandboxAuthorizeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixtures::MacTree> tree;
    QStringList asked;
    // What the user picks in the panel: the offered folder, another one, or nothing.
    enum class Pick { offered, other, cancel } pick = Pick::offered;

    std::unique_ptr<SandboxAuthorizeWindowController> controller;

    // The grant window, shown in the review period or after it; false when it never got exposed.
    bool openWindow(bool reviewPeriod)
    {
        ReviewManager::shared().setClock([=] { return reviewPeriod ? fixtures::localDate(2024, 5, 1) : fixtures::localDate(2024, 7, 12); });
        controller = std::make_unique<SandboxAuthorizeWindowController>();
        controller->window()->show();
        return QTest::qWaitForWindowExposed(controller->window());
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void init()
    {
        tree = std::make_unique<fixtures::MacTree>();
        tree->activate();
        tree->environment().set("XDG_CONFIG_HOME", tree->at("~/.config"));
        tree->makeDirectories(tree->at("~/Library/Containers/com.qzt.ostrova/Data"));
        tree->environment().set("HOME", tree->at("~/Library/Containers/com.qzt.ostrova/Data"));
        tree->environment().set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
        tree->makeDirectories(tree->at("/Users/Shared"));
        platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
        platform::Sandbox::resetGrants();
        asked.clear();
        pick = Pick::offered;
        setOpenPanelRunner([this](const OpenPanelRequest& request) {
            asked << QString::fromStdString(request.directory);
            OpenPanelResponse response;
            if (pick == Pick::cancel)
                return response;
            response.response = 1;
            response.urls.push_back(pick == Pick::offered ? request.directory : tree->at("/Users/Shared"));
            return response;
        });
    }

    void cleanup()
    {
        controller.reset();
        setOpenPanelRunner(nullptr);
        platform::Sandbox::resetGrants();
        ReviewManager::shared().setClock(nullptr);
        platform::UserDefaults::setStandardDomain("");
        tree.reset();
    }

    void outsideTheReviewPeriodOnlyTheDiskPanelShowsAndReturnPressesIt()
    {
        QVERIFY(openWindow(false));
        QVERIFY(controller->rootContainer->isVisible() && !controller->libraryContainer->isVisible());
        QVERIFY(!controller->appContainer->isVisible());
        QCOMPARE(controller->rootContainer->lbTitle->text(), QStringLiteral("macOS"));
        QCOMPARE(controller->lbTitle->text(), QStringLiteral("Grant Ostrova access to the following directories"));
        QVERIFY(!controller->hasGrants());

        QTest::keyClick(controller->window(), Qt::Key_Return);
        QCOMPARE(asked, QStringList{QString::fromStdString(tree->root())});
        QTRY_COMPARE(controller->retCode, 1);
        QVERIFY(controller->root);
        QTRY_VERIFY(!controller->window()->isVisible());

        // The grant was stored: a later start finds it without asking.
        platform::Sandbox::resetGrants();
        SandboxAuthorizeWindowController later;
        QVERIFY(later.hasGrants());
    }

    void inTheReviewPeriodLibraryThenContainersClosesWithOne()
    {
        QVERIFY(openWindow(true));
        QVERIFY(controller->libraryContainer->isVisible() && controller->appContainer->isVisible());
        QVERIFY(!controller->rootContainer->isVisible());
        QVERIFY(controller->libraryContainer->btnAuthorize->isDefault());

        controller->libraryContainer->btnAuthorize->click();
        QTRY_VERIFY(controller->library());
        QCOMPARE(controller->libraryContainer->btnAuthorize->text(), QStringLiteral("Granted access"));
        QVERIFY(!controller->libraryContainer->btnAuthorize->isEnabled());
        QVERIFY(controller->appContainer->btnAuthorize->isDefault());
        QCOMPARE(controller->retCode, 0);
        QVERIFY(controller->window()->isVisible());

        controller->appContainer->btnAuthorize->click();
        QTRY_VERIFY(controller->containers());
        QCOMPARE(controller->retCode, 1);
        QTRY_VERIFY(!controller->window()->isVisible());
        // Containers lies inside the Library granted a moment ago: no second panel was needed.
        QVERIFY(asked.size() == 1 && asked[0].endsWith("/Users/tester/Library"));
    }

    void aRefusedOrMisplacedGrantLeavesThePanelWaiting()
    {
        QVERIFY(openWindow(false));

        // Nothing picked, or another folder than the one offered: neither reaches the disk's root.
        for (const Pick refused : {Pick::cancel, Pick::other}) {
            pick = refused;
            controller->rootContainer->btnAuthorize->click();
            QTest::qWait(50);
            QVERIFY(!controller->root);
            QCOMPARE(controller->retCode, 0);
            QVERIFY(controller->window()->isVisible());
        }

        controller->window()->close();
        QCOMPARE(controller->retCode, 0);
    }
};

QTEST_MAIN(SandboxAuthorizeTest)
#include "SandboxAuthorizeTest.moc"
