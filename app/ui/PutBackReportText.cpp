#include "app/ui/PutBackReportText.h"

#include "Auxiliary/ByteCountText.h"

#include <QStringList>

QString PutBackReportText::title(const PutBack::Report& report)
{
    if (report.restored.empty())
        return tr("Nothing was put back.");
    if (report.taken.empty() && report.gone.empty() && report.failed.empty() && !report.notLoaded.empty())
        return tr("The items were put back, but some launch jobs could not be loaded again.");
    return tr("Some items could not be put back.");
}

QString PutBackReportText::confirmation(const PutBack::Report& report)
{
    return tr("Put back %n item(s) (%1).", nullptr, static_cast<int>(report.restored.size()))
        .arg(localizedByteCount(report.bytes));
}

QString PutBackReportText::details(const PutBack::Report& report)
{
    QStringList lines;
    const auto add = [&lines](const std::vector<std::string>& paths, const QString& reason) {
        for (const auto& path : paths)
            lines << tr("%1: %2").arg(QString::fromStdString(path), reason);
    };
    add(report.taken, tr("its place is taken"));
    add(report.gone, tr("emptied from the Trash"));
    add(report.failed, tr("it could not be moved back"));
    add(report.deleted, tr("deleted, not in the Trash"));
    add(report.alreadyBack, tr("already put back"));
    add(report.notLoaded, tr("put back, but its launch job could not be loaded again"));
    if (report.administratorRightRefused)
        lines << tr("An administrator's password was not given, so what goes back outside your home folder stayed in the Trash.");
    return lines.join(QLatin1Char('\n'));
}
