#include "Auxiliary/AppLanguage.h"
#include "Auxiliary/ByteCountText.h"
#include "platform/Localization.h"

#include <QCoreApplication>
#include <QtTest>

// The language is chosen from the preferences as a Mac app chooses it, and once installed every
// text source speaks it: the screens' texts, their plurals, the core's texts and Qt's own.
class AppLanguageTest : public QObject {
    Q_OBJECT

    static QString installed(const char* language)
    {
        qputenv("OSTROVA_LANGUAGE", language);
        return appLanguage::install();
    }

    static QString text(const char* context, const char* source, int n = -1)
    {
        return QCoreApplication::translate(context, source, nullptr, n);
    }

private slots:
    void cleanup() { installed("en"); }

    void theFirstPreferredLanguageSpokenIsChosen_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("a region of a language spoken") << QStringList{"de-CH"} << "de";
        QTest::newRow("POSIX spelling") << QStringList{"ja_JP"} << "ja";
        QTest::newRow("a language not spoken is passed over") << QStringList{"it-IT", "es-MX", "fr"} << "es";
        QTest::newRow("the order of preference counts") << QStringList{"fr-CA", "de"} << "fr";
        QTest::newRow("simplified Chinese by script") << QStringList{"zh-Hans-CN"} << "zh_CN";
        QTest::newRow("simplified Chinese by country") << QStringList{"zh_CN"} << "zh_CN";
        QTest::newRow("traditional Chinese is not simplified") << QStringList{"zh-Hant-TW", "ja"} << "ja";
        QTest::newRow("Chinese of Taiwan") << QStringList{"zh_TW"} << "en";
        QTest::newRow("English") << QStringList{"en-GB", "de"} << "en";
        QTest::newRow("nothing spoken") << QStringList{"pt-BR", "ru"} << "en";
        QTest::newRow("the C locale") << QStringList{"C"} << "en";
        QTest::newRow("no preference") << QStringList{} << "en";
    }
    void theFirstPreferredLanguageSpokenIsChosen()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QString, chosen);
        QCOMPARE(appLanguage::chosen(preferred), chosen);
    }

    void everyLanguageSpeaksThroughEverySource_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<bool>("twoPluralForms");
        QTest::newRow("German") << QByteArray("de") << true;
        QTest::newRow("French") << QByteArray("fr") << true;
        QTest::newRow("Spanish") << QByteArray("es") << true;
        QTest::newRow("Japanese") << QByteArray("ja") << false;
        QTest::newRow("Chinese") << QByteArray("zh_CN") << false;
    }
    void everyLanguageSpeaksThroughEverySource()
    {
        QFETCH(QByteArray, language);
        QFETCH(bool, twoPluralForms);
        QCOMPARE(installed(language.constData()), QString::fromLatin1(language));

        const QString uninstall = text("MainViewController", "Uninstall");
        QVERIFY(!uninstall.isEmpty());
        QVERIFY2(uninstall != QLatin1String("Uninstall"), qPrintable(uninstall));
        const std::string cache = platform::localized("Category", "Cache files");
        QVERIFY2(!cache.empty() && cache != "Cache files", cache.c_str());
        // Qt's own words (a text field's menu, standard buttons) come in the same language.
        QVERIFY(text("QWidgetTextControl", "&Copy") != QLatin1String("&Copy"));

        const QString one = text("MainViewController", "%n application(s) selected", 1);
        const QString two = text("MainViewController", "%n application(s) selected", 2);
        QVERIFY2(one.contains(QLatin1Char('1')) && two.contains(QLatin1Char('2')), qPrintable(one + " / " + two));
        QVERIFY(!one.contains(QLatin1String("(s)")));
        // Past the number, the words differ only where the language has a plural of its own.
        QCOMPARE(QString(one).remove(QLatin1Char('1')) != QString(two).remove(QLatin1Char('2')), twoPluralForms);
    }

    void byteCountsSpeakTheLanguage_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English decimal point") << QByteArray("en") << qint64(245'300'000) << "245.3 MB";
        QTest::newRow("German decimal comma") << QByteArray("de") << qint64(245'300'000) << "245,3 MB";
        QTest::newRow("French unit") << QByteArray("fr") << qint64(1'500'000'000) << "1,5 Go";
        QTest::newRow("whole kilobytes") << QByteArray("fr") << qint64(4'000) << "4 Ko";
        QTest::newRow("German zero") << QByteArray("de") << qint64(0) << "Null KB";
        QTest::newRow("English one byte") << QByteArray("en") << qint64(1) << "1 byte";
        QTest::newRow("English bytes") << QByteArray("en") << qint64(999) << "999 bytes";
        QTest::newRow("French one byte") << QByteArray("fr") << qint64(1) << "1 octet";
        QTest::newRow("Japanese bytes") << QByteArray("ja") << qint64(12) << "12 バイト";
        QTest::newRow("Spanish gigabytes") << QByteArray("es") << qint64(2'340'000'000) << "2,34 GB";
    }
    void byteCountsSpeakTheLanguage()
    {
        QFETCH(QByteArray, language);
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        installed(language.constData());
        QCOMPARE(localizedByteCount(bytes), shown);
    }

    void installingAgainReplacesTheLanguageBeforeAndEnglishHasRealPlurals()
    {
        installed("de");
        const QString german = text("MainViewController", "Uninstall");
        QVERIFY(german != QLatin1String("Uninstall"));
        // English has no file entry for this text: a German translator left behind would answer.
        installed("en");
        QCOMPARE(text("MainViewController", "Uninstall"), QStringLiteral("Uninstall"));
        QCOMPARE(platform::localized("Category", "Cache files"), std::string("Cache files"));
        QCOMPARE(text("QWidgetTextControl", "&Copy"), QStringLiteral("&Copy"));
        // English has real plurals.
        QCOMPARE(text("MainViewController", "%n application(s) selected", 1), QStringLiteral("1 application selected"));
        QCOMPARE(text("MainViewController", "%n application(s) selected", 2), QStringLiteral("2 applications selected"));
        QCOMPARE(text("MainViewController", "%n application(s) selected", 0), QStringLiteral("0 applications selected"));
        QCOMPARE(text("UninstallCompletedViewController", "The following application(s) have been uninstalled.", 1),
                 QStringLiteral("The following application has been uninstalled."));
    }
};

QTEST_MAIN(AppLanguageTest)
#include "AppLanguageTest.moc"
