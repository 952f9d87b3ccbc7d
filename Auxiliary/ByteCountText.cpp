#include "Auxiliary/ByteCountText.h"

#include "Auxiliary/ByteCountFormatter.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

// The number with its unit, as the language spells the unit ("Mo" in French).
QString withUnit(const QString& number, const QString& unit)
{
    if (unit == QLatin1String("KB"))
        return QCoreApplication::translate("ByteCount", "%1 KB").arg(number);
    if (unit == QLatin1String("MB"))
        return QCoreApplication::translate("ByteCount", "%1 MB").arg(number);
    if (unit == QLatin1String("GB"))
        return QCoreApplication::translate("ByteCount", "%1 GB").arg(number);
    if (unit == QLatin1String("TB"))
        return QCoreApplication::translate("ByteCount", "%1 TB").arg(number);
    if (unit == QLatin1String("PB"))
        return QCoreApplication::translate("ByteCount", "%1 PB").arg(number);
    return QCoreApplication::translate("ByteCount", "%1 EB").arg(number);
}

}  // namespace

QString localizedByteCount(std::int64_t bytes)
{
    if (bytes == 0)
        return QCoreApplication::translate("ByteCount", "Zero KB");
    const QString english = QString::fromStdString(format2ByteCountString(bytes));
    const qsizetype space = english.lastIndexOf(QLatin1Char(' '));
    QString number = english.left(space);
    const QString unit = english.mid(space + 1);
    if (unit == QLatin1String("byte") || unit == QLatin1String("bytes")) {
        const int count = static_cast<int>(bytes);  // under 1000
        return QCoreApplication::translate("ByteCount", "%n byte(s)", nullptr, count);
    }
    number.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return withUnit(number, unit);
}
