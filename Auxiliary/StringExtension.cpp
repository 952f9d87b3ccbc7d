#include "Auxiliary/StringExtension.h"

#include "platform/Localization.h"

#include <QRegularExpression>

namespace strings {

QString localized(const QString& english, const QString& value)
{
    if (english.isEmpty())
        return value;
    return QString::fromStdString(platform::localized("Ostrova", english.toStdString()));
}

QString ltrim(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

QString matchedSubString(const QString& text, const QString& pattern)
{
    const QRegularExpression expression(pattern);
    if (!expression.isValid())
        return {};
    return expression.match(text).captured(0);
}

QStringList matchSubString(const QString& text, const QString& pattern)
{
    const QRegularExpression expression(pattern);
    QStringList found;
    if (!expression.isValid())
        return found;
    for (auto it = expression.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    return found;
}

}  // namespace strings
