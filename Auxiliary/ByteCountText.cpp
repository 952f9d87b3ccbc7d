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
    const ByteCountParts parts = byteCountParts(bytes);
    if (parts.unit.empty())
        return QCoreApplication::translate("ByteCount", "Zero KB");
    if (parts.unit == "bytes") {
        const int count = static_cast<int>(bytes);  // under 1000
        return QCoreApplication::translate("ByteCount", "%n byte(s)", nullptr, count);
    }
    QString number = QString::fromStdString(parts.number);
    number.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return withUnit(number, QString::fromStdString(parts.unit));
}
