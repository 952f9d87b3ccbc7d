#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Calendar arithmetic in the local calendar and time zone.
namespace dates {

qint64 milliStamp(const QDateTime& date);
qint64 timeStamp(const QDateTime& date);
QDateTime today(const QDateTime& now = QDateTime::currentDateTime());      // start of the day
QDateTime yesterday(const QDateTime& now = QDateTime::currentDateTime());  // start of the day before
QDateTime lastWeekStartDay(const QDateTime& now = QDateTime::currentDateTime());  // Monday of last week
QDateTime lastWeekEndDay(const QDateTime& now = QDateTime::currentDateTime());    // its Sunday
QDateTime lastMonthStartDay(const QDateTime& now = QDateTime::currentDateTime());
QDateTime lastMonthEndDay(const QDateTime& now = QDateTime::currentDateTime());
int thisYear(const QDateTime& now = QDateTime::currentDateTime());
QDateTime addDay(const QDateTime& date, int days);
QDateTime addMonth(const QDateTime& date, int months);
QDateTime addYear(const QDateTime& date, int years);
// Qt's date format syntax ("yyyy-MM-dd HH:mm").
QString toString(const QDateTime& date, const QString& dateFormat);

}  // namespace dates
