#include "Auxiliary/Appearance.h"

#include <QApplication>
#include <QRandomGenerator>

#include <array>

namespace appearance {

bool isDark(const QString& appearanceName)
{
    static const std::array<QString, 4> darkNames{
        QStringLiteral("NSAppearanceNameDarkAqua"),
        QStringLiteral("NSAppearanceNameAccessibilityHighContrastDarkAqua"),
        QStringLiteral("NSAppearanceNameVibrantDark"),
        QStringLiteral("NSAppearanceNameAccessibilityHighContrastVibrantDark"),
    };
    for (const auto& name : darkNames) {
        if (name == appearanceName)
            return true;
    }
    return false;
}

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
}

bool isDark()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    return isDark(QApplication::palette());
}

QColor colorFromHex(const QString& hex, double alpha)
{
    // Like a scanner reading a hexadecimal integer: digits from the first character on, stopping at
    // the first character that is not one; nothing read gives 0.
    quint32 value = 0;
    for (const QChar c : hex) {
        const char16_t u = c.unicode();
        int digit = 0;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            break;
        if (value > 0x0FFFFFFFu) {  // overflow saturates, as the platform's scanner does
            value = 0xFFFFFFFFu;
            break;
        }
        value = (value << 4) | static_cast<quint32>(digit);
    }
    QColor color;
    color.setRgbF(((value >> 16) & 0xFF) / 255.0f, ((value >> 8) & 0xFF) / 255.0f, (value & 0xFF) / 255.0f,
                  static_cast<float>(alpha));
    return color;
}

QColor colorFromRGB(int red, int green, int blue, double alpha)
{
    QColor color(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255));
    color.setAlphaF(static_cast<float>(qBound(0.0, alpha, 1.0)));
    return color;
}

QColor randomColor()
{
    auto* random = QRandomGenerator::global();
    return colorFromRGB(random->bounded(256), random->bounded(256), random->bounded(256));
}

QString toRGBAString(const QColor& color, bool uppercased, bool hex)
{
    QString text = hex ? QStringLiteral("#%1%2%3%4")
                             .arg(color.red(), 2, 16, QLatin1Char('0'))
                             .arg(color.green(), 2, 16, QLatin1Char('0'))
                             .arg(color.blue(), 2, 16, QLatin1Char('0'))
                             .arg(color.alpha(), 2, 16, QLatin1Char('0'))
                       : QStringLiteral("rgba(%1,%2,%3,%4)")
                             .arg(color.red())
                             .arg(color.green())
                             .arg(color.blue())
                             .arg(color.alphaF(), 0, 'g', 3);
    return uppercased ? text.toUpper() : text;
}

QColor userAccentColor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return QColor(0x00, 0x7A, 0xFF);
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor secondaryTextColor(const QPalette& palette)
{
    return isDark(palette) ? QColor(0xA0, 0xA0, 0xA5) : QColor(0x6E, 0x6E, 0x73);
}

QPalette withVisibleCheckBoxBorder(QPalette palette)
{
    palette.setColor(QPalette::Window, isDark(palette) ? QColor(0xB4, 0xB4, 0xB4) : QColor(0xA8, 0xA8, 0xA8));
    return palette;
}

QColor warningTextColor(const QPalette& palette)
{
    return isDark(palette) ? QColor(0xFF, 0x95, 0x00) : QColor(0xD0, 0x6A, 0x00);
}

}  // namespace appearance
