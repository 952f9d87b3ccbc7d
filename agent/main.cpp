#include "Auxiliary/RequestedAppearance.h"
#include "agent/AppDelegate.h"
#include "agent/NotificationScheduler.h"
#include "platform/DispatchQueue.h"
#include "platform/UserDefaults.h"

#include <QApplication>

// libxkbcommon-x11 reads the X keymap's atom names with strndup beyond the reply that holds them,
// and the sanitizer's strndup wrapper stops the program there at every start on an X server. That
// library's fault is out of our reach, so the wrapper is off. (Only sanitizer builds look the hook up.)
extern "C" const char* __asan_default_options()
{
    return "intercept_strndup=0";
}

namespace {

constexpr const char* kAgentIdentifier = "com.qzt.ostrova.agent";

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The reminder comes and goes; the agent keeps running until the session ends.
    application.setQuitOnLastWindowClosed(false);
    applyRequestedAppearance();
    platform::UserDefaults::setStandardDomain(kAgentIdentifier);
    dispatch::MainQueue::setExecutor([&application](dispatch::Task task) {
        QMetaObject::invokeMethod(&application, std::move(task), Qt::QueuedConnection);
    });

    AppDelegate delegate(NotificationScheduler::shared());
    AppDelegate::setApplicationDelegate(&delegate);
    delegate.applicationDidFinishLaunching();
    const int status = application.exec();

    dispatch::MainQueue::setExecutor(nullptr);
    return status;
}
