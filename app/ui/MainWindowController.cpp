#include "app/ui/MainWindowController.h"

#include "app/catalogue/UninstallAppManager.h"
#include "app/ui/MainViewController.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The window's close button goes through the controller, as its action.
class MainWindow : public QWidget {
public:
    explicit MainWindow(MainWindowController* controller) : controller_(controller) {}
    void closeByController()
    {
        closing_ = true;
        close();
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (closing_ || !controller_) {
            event->accept();
            return;
        }
        // A window cannot close itself from inside its close event: the action runs next turn.
        event->ignore();
        QMetaObject::invokeMethod(controller_, &MainWindowController::close_click, Qt::QueuedConnection);
    }

private:
    QPointer<MainWindowController> controller_;
    bool closing_ = false;
};

}  // namespace

MainWindowController::MainWindowController() : MainWindowController(UninstallAppManager::shared()) {}

MainWindowController::MainWindowController(std::shared_ptr<UninstallAppManager> manager, QObject* parent)
    : QObject(parent)
{
    mainViewContoller = new MainViewController(std::move(manager), this);
    auto* window = new MainWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    window->setWindowTitle(QString());
    window->resize(860, 560);
    window->setMinimumSize(700, 420);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mainViewContoller->view());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(430, 280));
    }
    window_ = window;
}

MainWindowController::~MainWindowController()
{
    delete window_;
}

void MainWindowController::showWindow()
{
    if (!window_)
        return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void MainWindowController::close_click()
{
    if (auto* window = static_cast<MainWindow*>(window_.data()))
        window->closeByController();
}
