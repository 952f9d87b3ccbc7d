#pragma once

#include <QObject>
#include <QDialog>
#include <QPointer>

class QLabel;
class RkContainerView;
class RkLabel;

// Asks a sandboxed build's user, in advance, for the folder grants the scan needs: the whole disk,
// or during the store review period the Library and Containers folders. Ends with retCode 1 once
// every grant it asks for is given, 0 when closed before. Main thread only.
class SandboxAuthorizeWindowController : public QObject {
    Q_OBJECT
public:
    explicit SandboxAuthorizeWindowController(QObject* parent = nullptr);
    ~SandboxAuthorizeWindowController() override;

    QDialog* window() const { return window_; }
    QLabel* icon = nullptr;
    RkLabel* lbTitle = nullptr;
    RkContainerView* libraryContainer = nullptr;
    RkContainerView* appContainer = nullptr;
    RkContainerView* rootContainer = nullptr;
    int retCode = 0;
    bool root = false;
    bool library() const { return library_; }
    bool containers() const { return containers_; }
    void setLibrary(bool granted);
    void setContainers(bool granted);

    // True when the grants this window would ask for are all stored already.
    bool hasGrants() const;
    // Runs the window modally; its result is retCode.
    int runModal();

    void authorize_library_click();
    void authorize_appContainer_click();
    void authorize_root_click();

private:
    void authorize(RkContainerView* panel, void (SandboxAuthorizeWindowController::*store)(bool));
    void setRoot(bool granted);
    void closeWithSuccess();
    void updateAppearance();

    QPointer<QDialog> window_;
    bool library_ = false;
    bool containers_ = false;
};
