#include "app/ui/AppDelegate.h"
#include "platform/Localization.h"
#include "platform/qt/QtMainQueue.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {

// The desktop decides light or dark through its palette. OSTROVA_APPEARANCE=dark|light picks one
// where no desktop theme does (a bare X server, screenshots).
void applyRequestedAppearance()
{
    const QByteArray requested = qgetenv("OSTROVA_APPEARANCE");
    if (requested != "dark" && requested != "light")
        return;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = QApplication::style()->standardPalette();
    if (requested == "dark") {
        palette.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        palette.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
        palette.setColor(QPalette::Text, Qt::white);
        palette.setColor(QPalette::Button, QColor(0x3C, 0x3C, 0x3C));
        palette.setColor(QPalette::ButtonText, Qt::white);
        palette.setColor(QPalette::PlaceholderText, QColor(0x9A, 0x9A, 0x9A));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    }
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x7A, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    QApplication::setPalette(palette);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrova"));
    applyRequestedAppearance();
    platform::setTranslator([](const std::string& english) {
        return QCoreApplication::translate("Ostrova", english.c_str()).toStdString();
    });
    platform::installQtMainQueue();

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
