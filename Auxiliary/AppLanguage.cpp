#include "Auxiliary/AppLanguage.h"

#include "platform/Localization.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace appLanguage {
namespace {

constexpr const char* kTranslations = ":/i18n";

// The language's code as the translation files spell it, or "" when Ostrova does not speak it.
QString spokenCode(const QString& name)
{
    const QLocale locale(name);
    // QLocale takes what it cannot read for the C locale, which no user asks for by name.
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return {};
    if (locale.language() == QLocale::Chinese)
        return locale.script() == QLocale::SimplifiedHanScript ? QStringLiteral("zh_CN") : QString();
    const QString code = QLocale::languageToCode(locale.language());
    return available().contains(code) ? code : QString();
}

// Replaces what an earlier install put in place.
void installTranslator(QPointer<QTranslator>& slot, const QString& file, const QString& folder)
{
    if (slot) {
        QCoreApplication::removeTranslator(slot);
        delete slot;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator)) {
        slot = translator;
        return;
    }
    delete translator;
}

}  // namespace

QStringList available()
{
    return {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es"), QStringLiteral("ja"),
            QStringLiteral("zh_CN")};
}

QString chosen(const QStringList& preferred)
{
    for (const QString& name : preferred) {
        const QString code = spokenCode(name);
        if (!code.isEmpty())
            return code;
    }
    return QStringLiteral("en");
}

QString install()
{
    static QPointer<QTranslator> ours;
    static QPointer<QTranslator> qts;
    QStringList preferred;
    const QString forced = qEnvironmentVariable("OSTROVA_LANGUAGE");
    if (!forced.isEmpty())
        preferred << forced;
    preferred << QLocale::system().uiLanguages();
    const QString code = chosen(preferred);
    // Dates and numbers follow a language asked for by name; otherwise they stay the system's.
    if (!forced.isEmpty() && spokenCode(forced) == code)
        QLocale::setDefault(QLocale(forced));

    // English has a file too: it holds the English plural forms.
    installTranslator(ours, QStringLiteral("ostrova_") + code, QString::fromLatin1(kTranslations));
    installTranslator(qts, QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    platform::setTranslator([](const char* context, const std::string& english) {
        return QCoreApplication::translate(context, english.c_str()).toStdString();
    });
    return code;
}

}  // namespace appLanguage

namespace {

void installLanguageAtStart()
{
    appLanguage::install();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installLanguageAtStart)
