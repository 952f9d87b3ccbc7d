#include "Auxiliary/AppIconCache.h"

#include "platform/FileSystem.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QHash>
#include <QImageReader>
#include <QPixmap>

#include <algorithm>

namespace {

// An icon file larger than this is not read.
constexpr std::size_t kMaxIconBytes = 32u << 20;

QIcon decode(const std::string& imagePath)
{
    QIcon result;
    // The file lies in a bundle anybody may have made: read as a regular file only, never through a
    // link and never waiting on a named pipe.
    const auto bytes = platform::fs::readSmallRegularFile(imagePath, kMaxIconBytes);
    if (!bytes)
        return result;
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QFileInfo(QString::fromStdString(imagePath)).suffix().toLatin1());
    // The list draws at most 64 pixels (32 points at 2x).
    QImage smallest;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        if (image.width() <= 256)
            result.addPixmap(QPixmap::fromImage(image));
        else if (smallest.isNull() || image.width() < smallest.width())
            smallest = image;
    }
    if (result.isNull() && !smallest.isNull())
        result.addPixmap(QPixmap::fromImage(smallest.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return result;
}

}  // namespace

QIcon AppIconCache::iconFor(const std::optional<platform::FileIcon>& icon, bool isDir)
{
    static QHash<QString, QIcon> cache;
    const bool hasFile = icon && !icon->imagePath.empty();
    const QString key = hasFile ? QString::fromStdString(icon->imagePath)
                                : QStringLiteral("theme:") + (isDir ? "dir:" : "file:") +
                                      QString::fromStdString(icon ? icon->themeName : "");
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QIcon result = hasFile ? decode(icon->imagePath) : QIcon();
    if (result.isNull()) {
        static QFileIconProvider provider;
        const QIcon fallback = provider.icon(isDir ? QFileIconProvider::Folder : QFileIconProvider::File);
        result = icon && !icon->themeName.empty() ? QIcon::fromTheme(QString::fromStdString(icon->themeName), fallback)
                                                  : fallback;
    }
    cache.insert(key, result);
    return result;
}
