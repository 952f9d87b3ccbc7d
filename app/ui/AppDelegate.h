#pragma once

#include <QObject>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainWindowController;
class SandboxAuthorizeWindowController;
class UninstallAppManager;

// The application's delegate: the start-up sequence and the one main window.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The main bundle must have an identifier: the agent's is derived from it.
    explicit AppDelegate(std::shared_ptr<UninstallAppManager> manager, QObject* parent = nullptr);
    AppDelegate();
    // For a program outside a bundle (tests): the identifier the main bundle would have.
    AppDelegate(const std::string& mainBundleIdentifier, std::shared_ptr<UninstallAppManager> manager,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    // Whether the reminder agent runs at login; on by default.
    static constexpr bool kAgentEnabled = true;

    std::string helperBundleID;
    QWidget* window = nullptr;
    std::unique_ptr<MainWindowController> mainWindowController;
    std::unique_ptr<SandboxAuthorizeWindowController> sandboxAuthorizeWindow;
    // The login-item facility; tests record the calls instead.
    std::function<bool(const std::string& bundleIdentifier, bool enabled)> setLoginItemEnabled;

    // Gone applications whose remains the window opens on, ticked (the agent's "Review").
    std::vector<std::string> remainsToReview;
    // The plain identifiers after "--review-remains" on a command line (ReviewArguments).
    static std::vector<std::string> remainsToReviewIn(const std::vector<std::string>& arguments);

    // A later start of the application handed its arguments over: the window comes forward and,
    // when they name remains to review, shows them ticked.
    void openedAgain(const std::vector<std::string>& arguments);

    // Reports the start, registers the agent (outside the review period), asks a sandboxed build for
    // the folder grants it lacks, shows the main window.
    void applicationDidFinishLaunching();
    static bool applicationShouldTerminateAfterLastWindowClosed() { return true; }
    static bool applicationSupportsSecureRestorableState() { return true; }

private:
    std::shared_ptr<UninstallAppManager> manager_;
};
