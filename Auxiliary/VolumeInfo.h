#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// The volume that holds a path, and the path's modification time. nullopt when the path cannot be
// read.
namespace volumes {

std::optional<std::int64_t> filesystemSize(const QString& path);
std::optional<std::int64_t> filesystemFreeSize(const QString& path);
std::optional<std::int64_t> filesystemUsedSize(const QString& path);
// The deepest folder above (or at) the path that is on the same device as the path.
std::optional<QString> mountPoint(const QString& path);
std::optional<QDateTime> lastModifiedTime(const QString& path);
bool isDirectory(const QString& path);

}  // namespace volumes
