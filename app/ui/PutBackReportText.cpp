#include "app/ui/PutBackReportText.h"

#include "Auxiliary/StringExtension.h"

#include <QStringList>

QString PutBackReportText::title(const PutBack::Report& report)
{
    return report.restored.empty() ? strings::localized("Nothing was put back.") : strings::localized("Some items could not be put back.");
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
    if (report.administratorRightRefused)
        lines << strings::localized("An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.");
    return lines.join(QLatin1Char('\n'));
}
