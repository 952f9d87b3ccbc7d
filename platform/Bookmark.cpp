#include "platform/Bookmark.h"

#include "platform/FileSystem.h"

namespace platform {

std::optional<std::string> Bookmark::fileReferenceURL(const std::string& path)
{
    const auto st = fs::status(path);
    if (!st)
        return std::nullopt;
    return "file:///.file/id=" + std::to_string(st->st_dev) + "." + std::to_string(st->st_ino);
}

std::optional<plist::Data> Bookmark::create(const std::string& path, bool securityScope)
{
    const auto st = fs::status(path);
    if (!st || path.empty() || path.front() != '/')
        return std::nullopt;
    plist::Dictionary dict;
    dict.emplace("path", path);
    dict.emplace("device", static_cast<std::int64_t>(st->st_dev));
    dict.emplace("inode", static_cast<std::int64_t>(st->st_ino));
    dict.emplace("securityScope", securityScope);
    return plist::Data{plist::serialize(plist::Value(std::move(dict)), plist::Format::Binary)};
}

std::optional<Bookmark::Resolved> Bookmark::resolve(const plist::Data& data, bool securityScope)
{
    const auto value = plist::parse(data.bytes);
    const auto* dict = value ? value->get<plist::Dictionary>() : nullptr;
    if (!dict)
        return std::nullopt;
    const auto path = plist::optionalString(*dict, "path");
    const auto* device = plist::find(*dict, "device");
    const auto* inode = plist::find(*dict, "inode");
    if (!path || !device || !inode || !device->is<std::int64_t>() || !inode->is<std::int64_t>())
        return std::nullopt;
    const auto st = fs::status(*path);
    if (!st)
        return std::nullopt;
    const auto* scoped = plist::find(*dict, "securityScope");
    Resolved resolved;
    resolved.path = *path;
    resolved.isStale = static_cast<std::int64_t>(st->st_dev) != *device->get<std::int64_t>() ||
                       static_cast<std::int64_t>(st->st_ino) != *inode->get<std::int64_t>();
    resolved.securityScoped = securityScope && scoped && scoped->is<bool>() && *scoped->get<bool>();
    return resolved;
}

}  // namespace platform
