// Every screen, in every language, at the window's default size: no text needs more room than its
// label or button has, and none lies outside its window. German has the longest words; Japanese and
// Chinese need other glyphs. With OSTROVA_SCREENSHOTS naming a folder, each screen is saved there.
#include "ScreenFixture.h"
#include "Auxiliary/AppLanguage.h"
#include "app/catalogue/ExclusionStore.h"
#include "app/ui/ExclusionsWindowController.h"
#include "agent/NotificationView.h"
#include "agent/RemainsPanelView.h"
#include "demo/DemoTree.h"
#include "platform/UserDefaults.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>

namespace {

// The texts of `root` that need more room than they have, each with what it needs and has.
QStringList clippedTexts(QWidget* root)
{
    QStringList clipped;
    const auto check = [&](QWidget* widget, const QString& text, bool fits) {
        const QRect place(widget->mapTo(root, QPoint(0, 0)), widget->size());
        if (!fits || !root->rect().contains(place))
            clipped << QStringLiteral("“%1” needs %2×%3, has %4×%5 at %6,%7").arg(text).arg(widget->sizeHint().width())
                           .arg(widget->sizeHint().height()).arg(widget->width()).arg(widget->height()).arg(place.x()).arg(place.y());
    };
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(root) || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height();
        check(label, label->text(), fits);
    }
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(root) || button->text().isEmpty())
            continue;
        // A button's height is the screen's choice; its words need a line of its font.
        check(button, button->text(), button->sizeHint().width() <= button->width() && button->fontMetrics().height() <= button->height());
    }
    return clipped;
}

void save(QWidget* widget, const QString& language, const QString& screen)
{
    const QString folder = qEnvironmentVariable("OSTROVA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget->grab().save(QDir(folder).filePath(screen + "-" + language + ".png"));
}

}  // namespace

class LanguageLayoutTest : public QObject, ScreenFixture {
    Q_OBJECT

    QString language;

    void expectNothingClipped(QWidget* root, const QString& name)
    {
        QCoreApplication::processEvents();
        save(root, language, name);
        const QStringList clipped = clippedTexts(root);
        QVERIFY2(clipped.isEmpty(), qPrintable(name + " in " + language + ": " + clipped.join(QStringLiteral("; "))));
    }

    void showFlowScreen(FlowScreenController* shown)
    {
        for (FlowScreenController* flow : std::initializer_list<FlowScreenController*>{
                 screen()->uninstallingViewController, screen()->uninstallCompletedViewController, screen()->uninstallResidualViewController})
            flow->setScreenHidden(flow != shown);
        screen()->mainView->setVisible(shown == nullptr);
    }

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void cleanup()
    {
        tearDown();
        qputenv("OSTROVA_LANGUAGE", "en");
        appLanguage::install();
    }

    void everyScreenFits_data()
    {
        QTest::addColumn<QByteArray>("code");
        for (const char* code : {"en", "de", "fr", "es", "ja", "zh_CN"})
            QTest::newRow(code) << QByteArray(code);
    }
    void everyScreenFits()
    {
        QFETCH(QByteArray, code);
        qputenv("OSTROVA_LANGUAGE", code);
        language = appLanguage::install();
        QCOMPARE(language, QString::fromLatin1(code));

        makeTree(demo::buildDemoTree);
        openList();

        // The list with two applications ticked, so that the footer speaks too.
        tick({"Lumen Notes", "Huebox"});
        expectNothingClipped(driver->window, QStringLiteral("list"));

        RequestUninstallWinodowController* sheet = pressUninstall();
        QVERIFY(sheet);
        QWidget* dialog = sheet->btnOk->window();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        expectNothingClipped(dialog, QStringLiteral("sheet"));
        sheet->btnCancel->click();
        const auto chosen = screen()->deleteApps();
        QCOMPARE(chosen.size(), std::size_t{2});

        // The reset sheet, and the Exclusions window with an entry of each kind and one unreadable.
        screen()->reset_click(chosen.front());
        RequestUninstallWinodowController* reset = screen()->requestUninstallWinodowController.get();
        QVERIFY(reset && reset->itemList() && QTest::qWaitForWindowExposed(reset->btnOk->window()));
        expectNothingClipped(reset->btnOk->window(), QStringLiteral("reset-sheet"));
        reset->btnCancel->click();
        QVERIFY(ExclusionStore::add(tree->at("~/Library/Caches/com.lumenhaus.notes"), "com.lumenhaus.notes"));
        QVERIFY(ExclusionStore::add(tree->at("~/Library/Logs/Huebox"), ""));
        QVERIFY(ExclusionStore::protect("com.huebox.app"));
        QVERIFY(platform::UserDefaults("com.qzt.ostrova").setObject("ProtectedApplications", plist::Value(plist::Array{plist::Value("com.huebox.app"), plist::Value(1)})));
        QTest::mouseClick(screen()->btnExclusions, Qt::LeftButton);
        ExclusionsWindowController* exclusions = screen()->exclusionsWindowController.get();
        QVERIFY(exclusions && QTest::qWaitForWindowExposed(exclusions->window()) && exclusions->lbDropped->isVisible());
        expectNothingClipped(exclusions->window(), QStringLiteral("exclusions"));
        exclusions->window()->accept();

        for (const bool isReset : {false, true}) {
            const QString kind = isReset ? QStringLiteral("-reset") : QString();
            screen()->uninstallingViewController->deleteApps = chosen;
            screen()->uninstallingViewController->isReset = isReset;
            screen()->uninstallingViewController->rebuild();
            showFlowScreen(screen()->uninstallingViewController);
            expectNothingClipped(driver->window, "uninstalling" + kind);

            for (UninstallCompletedViewController* shown : std::initializer_list<UninstallCompletedViewController*>{
                     screen()->uninstallCompletedViewController, screen()->uninstallResidualViewController}) {
                shown->isReset = isReset;
                shown->showApplications(chosen);
                showFlowScreen(shown);
                expectNothingClipped(driver->window, (shown == screen()->uninstallCompletedViewController ? "completed" : "leftovers") + kind);
            }
        }
        showFlowScreen(nullptr);

        // The agent's panels, which have a fixed size.
        NotificationView reminder([] {}, [] {});
        reminder.setMessage(NotificationView::messageFor(12));
        reminder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reminder));
        expectNothingClipped(&reminder, QStringLiteral("reminder"));

        std::vector<RemovedApplication> gone(2);
        gone[0] = {"com.lumenhaus.notes", "Lumen Notes", "", "", {"/Users/x/Library/Caches/com.lumenhaus.notes"}, 15'000'000, nullptr};
        gone[1] = {"com.huebox.app", "Huebox", "", "", {"/Users/x/Library/Preferences/com.huebox.app.plist"}, 4'000, nullptr};
        RemainsPanelView panel(gone, [] {}, [] {}, [] {});
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        expectNothingClipped(&panel, QStringLiteral("remains-panel"));
    }
};

QTEST_MAIN(LanguageLayoutTest)
#include "LanguageLayoutTest.moc"
