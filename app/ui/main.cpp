#include "app/ui/AppDelegate.h"
#include "app/ui/OpenPanel.h"
#include "Auxiliary/RequestedAppearance.h"
#include "platform/Localization.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrova"));
    applyRequestedAppearance();
    platform::setTranslator([](const std::string& english) {
        return QCoreApplication::translate("Ostrova", english.c_str()).toStdString();
    });
    platform::installQtMainQueue();
    installOpenPanelRunner();

    AppDelegate delegate;
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments())
        arguments.push_back(argument.toStdString());
    delegate.remainsToReview = AppDelegate::remainsToReviewIn(arguments);
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
