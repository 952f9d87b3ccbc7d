#include "AgentTestSupport.h"
#include "ManualTimer.h"
#include "agent/AppDelegate.h"
#include "agent/NotificationScheduler.h"
#include "agent/NotificationWindowController.h"
#include "fixtures/MacTree.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMoveEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <sys/wait.h>

#include <cerrno>
#include <vector>

namespace {

// Every position the window is moved to, in order.
class MoveRecorder : public QObject {
public:
    explicit MoveRecorder(QWidget* window) { window->installEventFilter(this); }
    std::vector<QPoint> positions;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            positions.push_back(static_cast<QMoveEvent*>(event)->pos());
        return false;
    }
};

// True when a process runs `executable` right now (as a program or a script) or ran it already,
// which its script marks by writing `marker`. Looked at in this order, a start cannot slip through.
bool startedOrRunning(const std::string& executable, const std::string& marker)
{
    for (const auto& entry : platform::fs::listDirectory("/proc").value_or(std::vector<std::string>{})) {
        if (entry.find_first_not_of("0123456789") != std::string::npos)
            continue;
        // The words of the command line, each between two NULs.
        const std::string arguments = '\0' + platform::fs::readFile("/proc/" + entry + "/cmdline").value_or("") + '\0';
        if (arguments.find('\0' + executable + '\0') != std::string::npos)
            return true;
    }
    return platform::fs::exists(marker);
}

class ReminderWindowTest : public ::testing::Test {
protected:
    void SetUp() override { tree.activate(); }

    QPoint restingPlace() const
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        return {area.x() + area.width() - 340 - 20, area.y() + 10};
    }

    QWidget* window() const { return delegate.notificationWindowController->window(); }

    // Shows a reminder and waits until it has slid into place.
    void showAndSettle()
    {
        delegate.showNotification();
        ASSERT_TRUE(delegate.notificationWindowController);
        ASSERT_TRUE(processEventsUntil([&] { return window()->pos() == restingPlace() && window()->windowOpacity() == 1.0; }));
    }

    // Installs an application whose program writes `marker` when it runs; answers its program.
    std::string installApp(std::string_view folder, const std::string& name, const std::string& identifier,
                           const std::string& marker)
    {
        fixtures::AppBlueprint app;
        app.name = name;
        app.identifier = identifier;
        app.executableScript = "#!/bin/sh\necho \"$$\" > '" + marker + "'\n";
        return tree.addApp(folder, app) + "/Contents/MacOS/" + name;
    }

    void click(const char* buttonName)
    {
        auto* button = window()->findChild<QAbstractButton*>(buttonName);
        ASSERT_NE(button, nullptr) << buttonName;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    fixtures::MacTree tree;
    ManualTimer* timer = nullptr;
    NotificationScheduler scheduler{platform::UserDefaults("com.qzt.ostrova.agent"), std::chrono::system_clock::now, ManualTimer::factory(&timer)};
    AppDelegate delegate{scheduler};
};

TEST_F(ReminderWindowTest, AFramelessWindowOnTopThatSlidesIntoTheTopRightCornerAndIsReplacedWhenShownAgain)
{
    delegate.showNotification();
    ASSERT_TRUE(delegate.notificationWindowController);
    QWidget* reminder = window();
    MoveRecorder moves(reminder);
    EXPECT_TRUE(reminder->isVisible());
    EXPECT_EQ(reminder->windowOpacity(), 0.0) << "it fades in only after a moment";
    const auto flags = reminder->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(reminder->testAttribute(Qt::WA_TranslucentBackground));

    ASSERT_TRUE(processEventsUntil([&] { return reminder->pos() == restingPlace() && reminder->windowOpacity() == 1.0; }));
    EXPECT_EQ(reminder->geometry(), QRect(restingPlace(), QSize(340, 170)));
    ASSERT_FALSE(moves.positions.empty());
    EXPECT_EQ(moves.positions.front(), restingPlace() - QPoint(0, 20)) << "the slide starts 20 px higher";
    for (std::size_t i = 1; i < moves.positions.size(); ++i) {
        EXPECT_EQ(moves.positions[i].x(), restingPlace().x());
        EXPECT_GE(moves.positions[i].y(), moves.positions[i - 1].y()) << "it only moves down";
    }

    // Showing again replaces the reminder instead of adding one.
    const QPointer<QWidget> first = reminder;
    delegate.showNotification();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(visibleReminderWindows(), 1);
    ASSERT_TRUE(processEventsUntil([&] { return window()->windowOpacity() == 1.0; }));
    EXPECT_EQ(visibleReminderWindows(), 1);
}

TEST_F(ReminderWindowTest, TheRestingPlaceStaysInsideTheAvailableArea)
{
    using Controller = NotificationWindowController;
    EXPECT_EQ(Controller::restingPosition(QRect(100, 50, 1000, 700), QSize(340, 170)), QPoint(740, 60));
    EXPECT_EQ(Controller::restingPosition(QRect(-1280, 0, 1280, 800), QSize(340, 170)), QPoint(-360, 10));
    // Too narrow and too low: kept from leaving on the left and at the bottom.
    EXPECT_EQ(Controller::restingPosition(QRect(0, 30, 300, 100), QSize(340, 170)), QPoint(0, -40));
    EXPECT_EQ(Controller::restingPosition(QRect(0, 0, 350, 175), QSize(340, 170)), QPoint(0, 5));
}

TEST_F(ReminderWindowTest, ScanStartsTheInstalledMainApplicationAndDismissesTheReminder)
{
    const std::string marker = tree.at("/main-app-ran");
    installApp("/Applications", "Ostrova", "com.qzt.ostrova", marker);
    showAndSettle();
    const QPoint shownAt = window()->pos();

    click("scanButton");
    ASSERT_TRUE(processEventsUntil([&] {
        const auto text = platform::fs::readFile(marker);
        return text && !text->empty() && text->back() == '\n';
    })) << "the main application did not start";
    ASSERT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    EXPECT_EQ(window()->pos(), shownAt - QPoint(0, 20));
    EXPECT_EQ(window()->windowOpacity(), 0.0);
    EXPECT_TRUE(delegate.notificationWindowController) << "kept until the next reminder replaces it";
    EXPECT_EQ(visibleReminderWindows(), 0);
    EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "no child of ours is left";
}

// Near misses are not the main application: Scan only dismisses. Once it is in the user's
// Applications, the close button still opens nothing and Scan starts it.
TEST_F(ReminderWindowTest, ScanStartsOnlyTheMainApplicationAndCloseNothing)
{
    const std::string markerA = tree.at("/agent-ran");
    const std::string markerB = tree.at("/other-ran");
    const std::string marker = tree.at("/main-app-ran");
    const auto agent = installApp("/Applications", "Agent", "com.qzt.ostrova.agent", markerA);
    const auto other = installApp("/Applications", "Ostrova", "com.qzt.ostrova2", markerB);
    showAndSettle();
    click("scanButton");
    ASSERT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    EXPECT_EQ(visibleReminderWindows(), 0);

    const auto program = installApp("~/Applications", "Ostrova", "com.qzt.ostrova", marker);
    showAndSettle();
    click("closeButton");
    EXPECT_FALSE(startedOrRunning(program, marker));
    ASSERT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    EXPECT_EQ(window()->windowOpacity(), 0.0);
    EXPECT_EQ(window()->pos(), restingPlace() - QPoint(0, 20));

    showAndSettle();
    click("scanButton");
    EXPECT_TRUE(processEventsUntil([&] { return platform::fs::exists(marker); }));
    EXPECT_FALSE(startedOrRunning(agent, markerA));
    EXPECT_FALSE(startedOrRunning(other, markerB));
}

TEST_F(ReminderWindowTest, DismissingBeforeTheSlideInKeepsTheReminderAway)
{
    delegate.showNotification();
    delegate.dismissNotification();
    // Had the slide-in that was due still come, it would have stopped the slide-out.
    ASSERT_TRUE(processEventsUntil([&] { return !window()->isVisible(); }));
    EXPECT_EQ(window()->windowOpacity(), 0.0);
}

}  // namespace
