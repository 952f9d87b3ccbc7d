#include "app/ui/PutBackReportText.h"

#include "Auxiliary/ByteCountFormatter.h"
#include "Auxiliary/StringExtension.h"

#include <QStringList>

QString PutBackReportText::title(const PutBack::Report& report)
{
    if (report.restored.empty())
        return strings::localized("Nothing was put back.");
    if (report.taken.empty() && report.gone.empty() && report.failed.empty() && !report.notLoaded.empty())
        return strings::localized("The items were put back, but some launch jobs could not be loaded again.");
    return strings::localized("Some items could not be put back.");
}

QString PutBackReportText::confirmation(const PutBack::Report& report)
{
    const auto count = static_cast<qlonglong>(report.restored.size());
    const QString text = count == 1 ? strings::localized("Put back 1 item (%1).") : strings::localized("Put back %2 items (%1).");
    return QString(text).replace(QLatin1String("%2"), QString::number(count)).arg(QString::fromStdString(format2ByteCountString(report.bytes)));
}

QString PutBackReportText::details(const PutBack::Report& report)
{
    QStringList lines;
    const auto add = [&lines](const std::vector<std::string>& paths, const QString& reason) {
        for (const auto& path : paths)
            lines << strings::localized("%1: %2").arg(QString::fromStdString(path), reason);
    };
    add(report.taken, strings::localized("its place is taken"));
    add(report.gone, strings::localized("emptied from the Trash"));
    add(report.failed, strings::localized("it could not be moved back"));
    add(report.deleted, strings::localized("deleted, not in the Trash"));
    add(report.alreadyBack, strings::localized("already put back"));
    add(report.notLoaded, strings::localized("put back, but its launch job could not be loaded again"));
    if (report.administratorRightRefused)
        lines << strings::localized("An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.");
    return lines.join(QLatin1Char('\n'));
}
