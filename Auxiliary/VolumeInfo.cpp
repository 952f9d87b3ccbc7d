#include "Auxiliary/VolumeInfo.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace volumes {
namespace {

std::optional<struct statvfs> volumeOf(const QString& path)
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

}  // namespace

std::optional<std::int64_t> filesystemSize(const QString& path)
{
    const auto info = volumeOf(path);
    if (!info)
        return std::nullopt;
    return static_cast<std::int64_t>(info->f_blocks) * static_cast<std::int64_t>(info->f_frsize);
}

std::optional<std::int64_t> filesystemFreeSize(const QString& path)
{
    const auto info = volumeOf(path);
    if (!info)
        return std::nullopt;
    return static_cast<std::int64_t>(info->f_bavail) * static_cast<std::int64_t>(info->f_frsize);
}

std::optional<std::int64_t> filesystemUsedSize(const QString& path)
{
    const auto info = volumeOf(path);
    if (!info)
        return std::nullopt;
    return static_cast<std::int64_t>(info->f_blocks - info->f_bfree) * static_cast<std::int64_t>(info->f_frsize);
}

std::optional<QString> mountPoint(const QString& path)
{
    struct stat st {};
    QString current = QFileInfo(path).absoluteFilePath();
    if (::stat(QFile::encodeName(current).constData(), &st) != 0)
        return std::nullopt;
    const dev_t device = st.st_dev;
    while (current != QLatin1String("/")) {
        const QString parent = QFileInfo(current).absolutePath();
        struct stat up {};
        if (::stat(QFile::encodeName(parent).constData(), &up) != 0 || up.st_dev != device)
            break;
        current = parent;
    }
    return current;
}

std::optional<QDateTime> lastModifiedTime(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return info.lastModified();
}

bool isDirectory(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace volumes
