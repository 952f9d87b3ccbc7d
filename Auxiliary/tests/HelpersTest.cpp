// Appearance, drawing, process and value helpers of the framework.
#include "Auxiliary/Appearance.h"
#include "Auxiliary/BezierPath.h"
#include "Auxiliary/CaseInsensitiveString.h"
#include "Auxiliary/Collections.h"
#include "Auxiliary/DateExtension.h"
#include "Auxiliary/Drawing.h"
#include "Auxiliary/StringExtension.h"
#include "Auxiliary/TaskHandler.h"
#include "Auxiliary/ViewHelpers.h"
#include "Auxiliary/VolumeInfo.h"

#include <QApplication>
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class HelpersTest : public QObject {
    Q_OBJECT
private slots:
    // Hex text reads like a scanner: digits up to the first non-digit.
    void hexColoursReadLikeAScanner()
    {
        for (const auto& [hex, colour] : {std::pair{"FFFFFF", QColor(255, 255, 255)}, {"#FFFFFF", QColor(0, 0, 0)},
                                          {"2F2F2D", QColor(47, 47, 45)}, {"e1e1e1", QColor(0xE1, 0xE1, 0xE1)},
                                          {"12zz", QColor(0, 0, 0x12)}, {"", QColor(Qt::black)}})
            QVERIFY2(appearance::colorFromHex(hex).rgb() == colour.rgb(), hex);
        QVERIFY(qAbs(appearance::colorFromHex("000000", 0.001).alphaF() - 0.001f) < 0.0001f);
    }

    void darkAppearanceNamesAndPalettes()
    {
        for (const auto& [name, dark] : {std::pair{"NSAppearanceNameDarkAqua", true}, {"NSAppearanceNameAqua", false},
                                         {"NSAppearanceNameAccessibilityHighContrastVibrantDark", true},
                                         {"NSAppearanceNameVibrantLight", false}, {"SomethingElse", false}})
            QVERIFY2(appearance::isDark(QString::fromLatin1(name)) == dark, name);

        QPalette dark;
        dark.setColor(QPalette::Window, QColor("#2F2F2D"));
        dark.setColor(QPalette::WindowText, Qt::white);
        QVERIFY(appearance::isDark(dark));
        QPalette light;
        light.setColor(QPalette::Window, Qt::white);
        light.setColor(QPalette::WindowText, QColor("#333333"));
        QVERIFY(!appearance::isDark(light));

        const QPalette saved = QApplication::palette();
        QApplication::setPalette(dark);
        QVERIFY(appearance::isDark());
        QApplication::setPalette(light);
        QVERIFY(!appearance::isDark());
        QApplication::setPalette(saved);
    }

    // Colorized fills only opaque pixels; an empty image is written nowhere.
    void colorizedFillsOnlyOpaquePixelsAndWritePNGRefusesAnEmptyImage()
    {
        QImage mask(4, 4, QImage::Format_ARGB32);
        mask.fill(Qt::transparent);
        mask.setPixelColor(1, 1, QColor(10, 20, 30, 255));
        mask.setPixelColor(2, 2, QColor(10, 20, 30, 128));
        const QImage tinted = drawing::colorized(mask, QColor(255, 0, 0)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(tinted.size(), mask.size());
        QCOMPARE(tinted.pixelColor(1, 1), QColor(255, 0, 0, 255));
        QCOMPARE(tinted.pixelColor(0, 0).alpha(), 0);
        QVERIFY(qAbs(tinted.pixelColor(2, 2).alpha() - 128) <= 1);
        QCOMPARE(tinted.pixelColor(2, 2).red(), 255);
        QVERIFY(drawing::colorized(QImage(), Qt::red).isNull());

        QTemporaryDir dir;
        QVERIFY(!drawing::writePNG(QImage(), dir.filePath("a.png")));
        QImage image(3, 2, QImage::Format_ARGB32);
        image.fill(Qt::green);
        QVERIFY(drawing::writePNG(image, dir.filePath("b.png")));
        QCOMPARE(QImage(dir.filePath("b.png")).size(), QSize(3, 2));
    }

    void textSizeGrowsWithTheTextAndTheFont()
    {
        QFont small = QApplication::font();
        small.setPointSize(10);
        QFont large = small;
        large.setPointSize(20);
        QVERIFY(drawing::sizeOfFont("Uninstall", small).width() > drawing::sizeOfFont("Un", small).width());
        QVERIFY(drawing::sizeOfFont("Uninstall", large).height() > drawing::sizeOfFont("Uninstall", small).height());
        QCOMPARE(drawing::sizeOfFont("", small).width(), 0.0);
    }

    void bezierPathsBecomePainterPathsElementByElement()
    {
        BezierPath path;
        path.moveTo({0, 0});
        path.addLine({10, 0});
        path.addCurve({10, 10}, {12, 3}, {12, 7});
        path.close();
        const QPainterPath painted = path.cgPath();
        QCOMPARE(path.elements().size(), size_t(4));
        QCOMPARE(painted.elementAt(0).type, QPainterPath::MoveToElement);
        QCOMPARE(painted.elementAt(1).type, QPainterPath::LineToElement);
        QCOMPARE(painted.elementAt(2).type, QPainterPath::CurveToElement);
        QCOMPARE(QPointF(painted.elementAt(4)), QPointF(10, 10));

        const QRectF rect(0, 0, 100, 40);
        const QPainterPath rounded = BezierPath::roundedRect(rect, 8).cgPath();
        QCOMPARE(rounded.boundingRect(), rect);
        QVERIFY(!rounded.contains(QPointF(0.5, 0.5)));  // a rounded corner
        const QPainterPath square = BezierPath::roundedRect(rect, 8, NSRectCorner::none).cgPath();
        QVERIFY(square.contains(QPointF(0.5, 0.5)));
        // An oversized radius is held to half the shorter side.
        QCOMPARE(BezierPath::roundedRect(rect, 500).cgPath().boundingRect(), rect);

        const QRectF circle = BezierPath::arc({50, 50}, 10, 0, 360).cgPath().boundingRect();
        QVERIFY(qAbs(circle.width() - 20) < 0.1 && qAbs(circle.height() - 20) < 0.1);
    }

    void alertButtonsGetTheFocusPolicyAndTableColumnsTheirHeader()
    {
        QMessageBox alert;
        alert.addButton("Ok", QMessageBox::AcceptRole);
        alert.addButton("Cancel", QMessageBox::RejectRole);
        views::setFocusRingType(&alert, Qt::NoFocus);
        for (auto* button : alert.buttons())
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        views::setFocusRingType(nullptr, Qt::NoFocus);  // nothing to do, no crash

        // Table columns carry their header.
        const TableColumn column = views::makeTableColumn("Name", "com.uninstaller.name", 500);
        QCOMPARE(column.identifier, QStringLiteral("com.uninstaller.name"));
        QCOMPARE(column.width, 500);
        QCOMPARE(column.headerFont.pixelSize(), 13);
        QVERIFY(column.headerAlignment.testFlag(Qt::AlignLeft));
    }

    void tasksReportOutputErrorsAndTimeouts()
    {
        QString result;
        TaskHandler::createTask("/bin/echo", {"hello", "world"}, true, [&](const QString& out) { result = out; });
        QCOMPARE(result, QStringLiteral("hello world\n"));
        QVERIFY(TaskHandler::lastTask().isNull());  // the process object lives only for the call

        TaskHandler::createTask("/bin/sh", {"-c", "echo out; echo bad >&2"}, true, [&](const QString& out) { result = out; });
        QCOMPARE(result, QStringLiteral("bad\n out\n "));
        QVERIFY(!TaskHandler::createTaskWithStatus("/bin/sh", {"-c", "echo bad >&2"}));
        QVERIFY(TaskHandler::createTaskWithStatus("/bin/true", {}));
        QVERIFY(!TaskHandler::createTaskWithStatus("/nonexistent/program", {}));

        TaskHandler::createTask("/bin/sh", {"-c", "printf '\\377\\376'"}, true, [&](const QString& out) { result = out; });
        QCOMPARE(result, QStringLiteral("No standard output.."));

        QElapsedTimer clock;
        clock.start();
        TaskHandler::createTask("/bin/sleep", {"30"}, 1, true, [&](const QString& out) { result = out; });
        QVERIFY2(clock.elapsed() < 20000, "the time-out must stop the wait");
        QCOMPARE(result, QStringLiteral("Task /bin/sleep 30 was killed: 0"));
    }

    void caseInsensitiveStringsTextAndListConveniences()
    {
        const CaseInsensitiveString a("Ostrova"), b(QStringLiteral("OSTROVA")), c("Ostrov");
        QVERIFY(a == b);
        QVERIFY(!(a == c));
        QCOMPARE(a.description(), QStringLiteral("Ostrova"));
        QSet<CaseInsensitiveString> set{a, b, c};
        QCOMPARE(set.size(), 2);
        QVERIFY(CaseInsensitiveString("ÉCOLE") == CaseInsensitiveString("école"));

        QCOMPARE(strings::ltrim(" \t Ostrova "), QStringLiteral("Ostrova "));
        QCOMPARE(strings::matchedSubString("Version 14.2.1 (23C71)", "\\d+(\\.\\d+)+"), QStringLiteral("14.2.1"));
        QCOMPARE(strings::matchedSubString("abc", "("), QString());  // an invalid pattern finds nothing
        QCOMPARE(strings::matchSubString("a1b22c333", "\\d+"), (QStringList{"1", "22", "333"}));
        QCOMPARE(strings::localized("", "fallback"), QStringLiteral("fallback"));
        QCOMPARE(strings::localized("Finish"), QStringLiteral("Finish"));

        std::vector<int> list{1, 2, 3, 2};
        QCOMPARE(collections::safeIndex(list, 3), std::optional<int>(2));
        QVERIFY(!collections::safeIndex(list, 4));
        QVERIFY(!collections::safeIndex(list, -1));
        QCOMPARE(collections::after(list, 3), std::optional<int>(2));
        QVERIFY(!collections::after(list, 9));
        QCOMPARE(collections::after(std::vector<int>{1, 2}, 2, true), std::optional<int>(1));
        QVERIFY(!collections::after(std::vector<int>{1, 2}, 2, false));
        QCOMPARE(collections::before(list, 1, true), std::optional<int>(2));
        QVERIFY(!collections::before(list, 1));
        QCOMPARE(collections::remove(list, 2), size_t(2));
        QCOMPARE(list, (std::vector<int>{1, 3}));
    }

    void calendarArithmeticAndVolumesOfAPath()
    {
        const QDateTime wednesday(QDate(2026, 12, 2), QTime(15, 30));
        QCOMPARE(dates::today(wednesday), QDateTime(QDate(2026, 12, 2), QTime(0, 0)));
        QCOMPARE(dates::yesterday(wednesday).date(), QDate(2026, 12, 1));
        QCOMPARE(dates::lastWeekStartDay(wednesday).date(), QDate(2026, 11, 23));
        QCOMPARE(dates::lastWeekEndDay(wednesday).date(), QDate(2026, 11, 29));
        QCOMPARE(dates::lastMonthStartDay(wednesday).date(), QDate(2026, 11, 1));
        QCOMPARE(dates::lastMonthEndDay(wednesday).date(), QDate(2026, 11, 30));
        QCOMPARE(dates::lastMonthStartDay(QDateTime(QDate(2026, 1, 10), QTime(1, 0))).date(), QDate(2025, 12, 1));
        QCOMPARE(dates::addMonth(QDateTime(QDate(2026, 1, 31), QTime()), 1).date(), QDate(2026, 2, 28));
        QCOMPARE(dates::toString(wednesday, "yyyy-M-d"), QStringLiteral("2026-12-2"));

        QTemporaryDir dir;
        const auto total = volumes::filesystemSize(dir.path());
        const auto used = volumes::filesystemUsedSize(dir.path());
        QVERIFY(total && used && *total > 0 && *used <= *total);
        const auto mount = volumes::mountPoint(dir.path());
        QVERIFY(mount && dir.path().startsWith(*mount));
        QVERIFY(!volumes::filesystemSize(dir.filePath("missing")));
        QVERIFY(volumes::isDirectory(dir.path()));
        QVERIFY(!volumes::isDirectory(dir.filePath("missing")));
        QVERIFY(!volumes::lastModifiedTime(dir.filePath("missing")));
    }

};

QTEST_MAIN(HelpersTest)
#include "HelpersTest.moc"
