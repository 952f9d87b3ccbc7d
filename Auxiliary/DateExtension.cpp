#include "Auxiliary/DateExtension.h"

namespace dates {
namespace {
QDateTime startOf(const QDate& day)
{
    return day.startOfDay();
}
}  // namespace

qint64 milliStamp(const QDateTime& date) { return date.toMSecsSinceEpoch(); }
qint64 timeStamp(const QDateTime& date) { return date.toSecsSinceEpoch(); }
QDateTime today(const QDateTime& now) { return startOf(now.date()); }
QDateTime yesterday(const QDateTime& now) { return startOf(now.date().addDays(-1)); }

QDateTime lastWeekStartDay(const QDateTime& now)
{
    const QDate monday = now.date().addDays(1 - now.date().dayOfWeek());
    return startOf(monday.addDays(-7));
}

QDateTime lastWeekEndDay(const QDateTime& now)
{
    return startOf(lastWeekStartDay(now).date().addDays(6));
}

QDateTime lastMonthStartDay(const QDateTime& now)
{
    const QDate first(now.date().year(), now.date().month(), 1);
    return startOf(first.addMonths(-1));
}

QDateTime lastMonthEndDay(const QDateTime& now)
{
    const QDate first(now.date().year(), now.date().month(), 1);
    return startOf(first.addDays(-1));
}

int thisYear(const QDateTime& now) { return now.date().year(); }
QDateTime addDay(const QDateTime& date, int days) { return date.addDays(days); }
QDateTime addMonth(const QDateTime& date, int months) { return date.addMonths(months); }
QDateTime addYear(const QDateTime& date, int years) { return date.addYears(years); }
QString toString(const QDateTime& date, const QString& dateFormat) { return date.toString(dateFormat); }

}  // namespace dates
