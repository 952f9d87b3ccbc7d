#include "agent/ColorButtonStyle.h"
#include "agent/NotificationView.h"
#include "agent/UnusedApplications.h"
#include "fixtures/MacTree.h"
#include "platform/PathUtil.h"
#include "platform/Spotlight.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>

#include <optional>
#include <vector>

namespace {

QImage rendered(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int highestAlpha(const QImage& image, const QRect& area)
{
    int highest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            highest = std::max(highest, image.pixelColor(x, y).alpha());
    return highest;
}

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(NotificationViewTest, ShowsTheTextsInRowsInsideThePanelAndRunsTheActions)
{
    int scans = 0, ignores = 0;
    NotificationView view([&] { ++scans; }, [&] { ++ignores; });
    EXPECT_EQ(view.size(), QSize(340, 170));
    view.show();
    auto* symbol = view.findChild<QLabel*>("warningSymbol");
    auto* title = view.findChild<QLabel*>("title");
    auto* message = view.findChild<QLabel*>("message");
    auto* scan = view.findChild<QPushButton*>("scanButton");
    auto* close = view.findChild<QToolButton*>("closeButton");
    ASSERT_TRUE(symbol && title && message && scan && close);
    EXPECT_EQ(title->text(), "App cleanup reminder");
    EXPECT_EQ(message->text(), "Scan your applications") << "it has not looked yet";
    EXPECT_EQ(scan->text(), "Scan");
    EXPECT_FALSE(close->icon().isNull());

    EXPECT_LT(symbol->geometry().right(), title->geometry().left());
    EXPECT_LT(title->geometry().right(), close->geometry().left());
    EXPECT_LT(title->geometry().bottom(), message->geometry().top());
    EXPECT_EQ(symbol->geometry().left(), message->geometry().left()) << "the column is aligned leading";
    EXPECT_EQ(scan->geometry().left(), message->geometry().left());
    EXPECT_GE(message->geometry().top() - title->geometry().bottom(), 2 * 12) << "divider between, 12 apart";
    // A long message makes the panel taller, never wider.
    for (const bool longer : {false, true}) {
        if (longer) {
            view.setMessage(QStringLiteral("A message that needs many lines in a longer language. ").repeated(10));
            view.layout()->activate();
            EXPECT_GT(view.height(), NotificationView::frameSize.height());
            EXPECT_EQ(view.width(), NotificationView::frameSize.width());
            EXPECT_GE(message->height(), message->heightForWidth(message->width())) << "every line shows";
        }
        EXPECT_LT(message->geometry().bottom(), scan->geometry().top()) << longer;
        EXPECT_TRUE(view.rect().contains(scan->geometry())) << longer;
        EXPECT_TRUE(view.rect().contains(message->geometry())) << longer;
    }

    scan->click();
    EXPECT_EQ(std::pair(scans, ignores), std::pair(1, 0));
    close->click();
    EXPECT_EQ(std::pair(scans, ignores), std::pair(1, 1));
}

TEST(NotificationViewTest, TheMessageCountsTheApplicationsInEnglishPlurals)
{
    const QString tail = QStringLiteral(" not opened for more than 90 days. Scan and uninstall to free up space.");
    const std::vector<std::pair<std::optional<int>, QString>> cases = {
        {std::nullopt, "Scan your applications"}, {0, "Scan your applications"}, {-1, "Scan your applications"},
        {1, "1 application" + tail}, {3, "3 applications" + tail},
    };
    for (const auto& [count, text] : cases)
        EXPECT_EQ(NotificationView::messageFor(count), text) << count.value_or(-99);
}

// Bundles in the folders and in plain folders one level down count when their date is more than
// 90 days before now; bundles elsewhere, recent ones and ones never opened do not.
TEST(UnusedApplicationsTest, CountsTheBundlesNotOpenedForMoreThan90Days)
{
    using std::chrono::seconds;
    constexpr auto day = std::chrono::hours(24);
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::optional<seconds>>> bundles;  // "<Mac folder>/<name>", age
        std::optional<int> expected;
    };
    const std::vector<Case> cases = {
        {"in the folders and one level down",
         {{"/Applications/Old", 91 * day}, {"/Applications/Tools/Older", 400 * day}, {"~/Applications/Mine", 120 * day},
          {"/Applications/Tools/Deep/Deeper", 400 * day}},
         3},
        {"opened 89 days ago, or never", {{"/Applications/Recent", 89 * day}, {"~/Applications/Never", std::nullopt}}, 0},
        {"90 days is not more than 90 days", {{"/Applications/Edge", 90 * day}, {"/Applications/Past", 90 * day + seconds(1)}}, 1},
        {"empty and missing folders", {}, std::nullopt},
    };
    const std::chrono::system_clock::time_point now{seconds(1'800'000'000)};
    for (const auto& row : cases) {
        fixtures::MacTree tree;
        tree.activate();
        for (const auto& [place, age] : row.bundles) {
            fixtures::AppBlueprint app;
            app.name = platform::path::lastComponent(place);
            app.identifier = "com.example." + app.name;
            const std::string bundle = tree.addApp(platform::path::deletingLastComponent(place), app);
            if (age) {
                ASSERT_TRUE(platform::writeLastUsedDateAttribute(bundle, now - *age)) << bundle;
            }
        }
        const std::vector<std::string> folders = {tree.at("/Applications"), tree.at("~/Applications"), tree.at("/Missing")};
        EXPECT_EQ(UnusedApplications::count(folders, now), row.expected) << row.what;
    }
}

// Every opaque pixel of a symbol is `colour` made lighter or darker (a mark inside it stays
// visible), and the symbol's middle is the colour itself.
void expectSymbolTintedWith(const QImage& image, const QColor& colour)
{
    ASSERT_FALSE(image.isNull());
    int opaque = 0, ofTheColour = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 255)
                continue;
            ++opaque;
            const QColor onTheRamp = QColor::fromHsl(colour.hslHue(), colour.hslSaturation(), pixel.lightness());
            EXPECT_TRUE(near(pixel, onTheRamp, 4)) << pixel.name().toStdString() << " at " << x << "," << y;
            if (near(pixel, colour, 3))
                ++ofTheColour;
        }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(ofTheColour, 0) << "the symbol's middle lightness should be " << colour.name().toStdString();
}

TEST(NotificationViewTest, TheSymbolsAreTintedAndThePanelRoundedAndFilledWithTheWindowColour)
{
    NotificationView view([] {}, [] {});
    auto* symbol = view.findChild<QLabel*>("warningSymbol");
    auto* close = view.findChild<QToolButton*>("closeButton");
    ASSERT_TRUE(symbol && close);
    expectSymbolTintedWith(symbol->pixmap().toImage(), QColor(255, 149, 0));
    expectSymbolTintedWith(close->icon().pixmap(16).toImage(), QColor(142, 142, 147));

    const QImage image = rendered(&view);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(339, 169).alpha(), 0);
    EXPECT_EQ(image.pixelColor(2, 85), view.palette().color(QPalette::Window)) << "left edge, between the corners";
    EXPECT_EQ(image.pixelColor(6, 6).alpha(), 255) << "inside the 12 px corner's curve";
}

TEST(ColorButtonStyleTest, AMediumLabelInsetBy8x4x8x5OverATintThatFadesWhilePressed)
{
    const QColor accent{10, 100, 220};
    ColorButtonStyle style;
    QPushButton button{"Scan"};
    QPalette palette = button.palette();
    palette.setColor(QPalette::Highlight, accent);
    button.setPalette(palette);
    button.setStyle(&style);
    button.resize(button.sizeHint());
    EXPECT_EQ(button.font().weight(), QFont::Medium);
    EXPECT_EQ(button.sizeHint(), button.fontMetrics().size(Qt::TextShowMnemonic, "Scan") + QSize(16, 9));

    const QImage normal = rendered(&button);
    button.setDown(true);
    const QImage pressed = rendered(&button);
    const int middle = button.height() / 2;
    EXPECT_EQ(normal.pixelColor(0, 0).alpha(), 0) << "rounded corner";
    const QColor background = normal.pixelColor(2, middle);
    EXPECT_NEAR(background.alpha(), 0.14 * 255, 1.5);
    EXPECT_TRUE(near(background, accent, 12)) << background.name().toStdString();
    EXPECT_NEAR(pressed.pixelColor(2, middle).alpha(), 0.08 * 255, 1.5);
    const QRect label = button.rect().marginsRemoved(ColorButtonStyle::insets);
    EXPECT_EQ(highestAlpha(normal, label), 255);
    // 0.8 of label over 0.08 of background.
    EXPECT_NEAR(highestAlpha(pressed, label), (0.8 + 0.08 * 0.2) * 255, 3);
}

}  // namespace
