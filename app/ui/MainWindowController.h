#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class MainViewController;
class UninstallAppManager;

// The application's one window, 860 x 560, centred, holding the list screen. Closing it quits the
// application.
class MainWindowController : public QObject {
    Q_OBJECT
public:
    explicit MainWindowController(std::shared_ptr<UninstallAppManager> manager, QObject* parent = nullptr);
    MainWindowController();
    ~MainWindowController() override;

    QWidget* window() const { return window_; }
    MainViewController* mainViewContoller = nullptr;

    void showWindow();
    void close_click();

private:
    QPointer<QWidget> window_;
};
