#pragma once

#include <QString>
#include <QStringList>

// Text conveniences.
namespace strings {

// The text looked up in the app's general string table ("Ostrova") with the English text as key; `value` when the
// key is empty.
QString localized(const QString& english, const QString& value = QString());
// Without its leading white space.
QString ltrim(const QString& text);
// The first match of a regular expression in the text ("" when none or the pattern is invalid).
QString matchedSubString(const QString& text, const QString& pattern);
// Every match, in order.
QStringList matchSubString(const QString& text, const QString& pattern);

}  // namespace strings
