#include "app/ui/AppDelegate.h"
#include "app/ui/OpenPanel.h"
#include "Auxiliary/RequestedAppearance.h"
#include "platform/qt/InstanceChannel.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrova"));
    applyRequestedAppearance();
    platform::installQtMainQueue();
    installOpenPanelRunner();

    // Already running: that instance takes this start's arguments.
    if (InstanceChannel::handOver(QApplication::arguments()))
        return 0;

    AppDelegate delegate;
    const auto words = [](const QStringList& list) {
        std::vector<std::string> arguments;
        for (const QString& argument : list)
            arguments.push_back(argument.toStdString());
        return arguments;
    };
    delegate.remainsToReview = AppDelegate::remainsToReviewIn(words(QApplication::arguments()));
    InstanceChannel channel;
    channel.listen([&](const QStringList& arguments) { delegate.openedAgain(words(arguments)); });
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
