// The list's check boxes as the X server shows them (a private Xvfb, the real window over the demo
// Mac): in either appearance the box's border stands out from its row, plain or alternate, at least
// 3:1, the least contrast a control's outline needs to be made out; so do the orange of a long
// unused date and the secondary text of a file's place.
#include "ScreenFixture.h"
#include "Auxiliary/Appearance.h"
#include "Auxiliary/RequestedAppearance.h"
#include "app/ui/OutlineRowDelegate.h"
#include "demo/DemoTree.h"
#include "fixtures/PrivateDisplay.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Relative luminance of an sRGB colour.
double luminance(QRgb colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) + 0.0722 * channel(qBlue(colour));
}

double contrast(QRgb a, QRgb b)
{
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

}  // namespace

class CheckBoxContrastTest : public QObject, ScreenFixture {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installQtMainQueue(); }

    void theBoxBorderTheOrangeDateAndSecondaryTextStandOutFromTheirRow_data()
    {
        QTest::addColumn<QByteArray>("appearance");
        QTest::newRow("dark") << QByteArray("dark");
        QTest::newRow("light") << QByteArray("light");
    }

    void theBoxBorderTheOrangeDateAndSecondaryTextStandOutFromTheirRow()
    {
        QFETCH(QByteArray, appearance);
        qputenv("OSTROVA_APPEARANCE", appearance);
        applyRequestedAppearance();
        tearDown();
        makeTree(demo::buildDemoTree);
        openList();
        QVERIFY(QTest::qWaitForWindowExposed(driver->window));
        QTest::qWait(200);

        // The whole screen as the server has it, not the widget's own rendering.
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        QVERIFY(!shot.isNull());
        NSOutlineViewEx* outline = driver->outline();
        const int shade = qGray(shot.pixel(outline->viewport()->mapToGlobal(QPoint(4, 4))));
        QVERIFY(appearance == "dark" ? shade < 96 : shade > 200);
        int measured = 0;
        for (int row = 0; row < std::min(6, driver->model()->rowCount()); ++row) {
            const QModelIndex index = driver->model()->index(row, 0);
            QStyleOptionViewItem option;
            option.rect = outline->visualRect(index);
            const QRect box = outline->rowDelegate()->checkRect(option, index);
            const QPoint topLeft = outline->viewport()->mapToGlobal(box.topLeft());
            const int middle = topLeft.y() + box.height() / 2;
            // The row just left of the box, and the strongest pixel of the box's left edge.
            const QRgb background = shot.pixel(topLeft.x() - 3, middle);
            double best = 0;
            for (int x = topLeft.x() - 1; x <= topLeft.x() + 2; ++x)
                best = std::max(best, contrast(shot.pixel(x, middle), background));
            QVERIFY2(best >= 3.0, qPrintable(QStringLiteral("row %1: border contrast %2:1").arg(row).arg(best, 0, 'f', 2)));
            // The colours the row's texts take, against the same row.
            const QPalette palette = QApplication::palette();
            for (const QColor& colour : {appearance::warningTextColor(palette), appearance::secondaryTextColor(palette)}) {
                const double against = contrast(colour.rgb(), background);
                QVERIFY2(against >= 3.0, qPrintable(QStringLiteral("row %1: %2 at %3:1").arg(row).arg(colour.name()).arg(against, 0, 'f', 2)));
            }
            ++measured;
        }
        QVERIFY(measured >= 3);
    }

    void cleanupTestCase() { tearDown(); }
};

// libxkbcommon-x11 reads the X keymap's atom names with strndup beyond the reply that holds them,
// and the sanitizer's strndup wrapper stops the program there at every start on an X server. That
// library's fault is out of our reach, so the wrapper is off. (Only sanitizer builds look the hook up.)
extern "C" const char* __asan_default_options()
{
    return "intercept_strndup=0";
}

// On an X server Qt reaches the session bus through libdbus, and fontconfig reads its
// configuration; neither frees that before the program ends, which is not this program's leak.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

// A private X server first, then the application on it.
int main(int argc, char** argv)
{
    fixtures::PrivateDisplay display;
    if (!display.isUp()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    qputenv("DISPLAY", QByteArray::fromStdString(display.name()));
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    CheckBoxContrastTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CheckBoxContrastTest.moc"
