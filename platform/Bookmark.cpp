#include "platform/Bookmark.h"

#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

std::int64_t integerOr(const plist::Dictionary& dict, std::string_view key, std::int64_t fallback)
{
    const auto* value = plist::find(dict, key);
    return value && value->is<std::int64_t>() ? *value->get<std::int64_t>() : fallback;
}

}  // namespace

std::optional<std::string> Bookmark::fileReferenceURL(const std::string& path)
{
    const auto identity = identify(path);
    if (!identity)
        return std::nullopt;
    return "file:///.file/id=" + std::to_string(identity->device) + "." + std::to_string(identity->inode);
}

std::optional<plist::Data> Bookmark::create(const std::string& path, bool securityScope)
{
    const auto identity = identify(path);
    if (!identity || path.front() != '/')
        return std::nullopt;
    plist::Dictionary dict;
    dict.emplace("path", path);
    dict.emplace("device", identity->device);
    dict.emplace("inode", identity->inode);
    dict.emplace("birth", identity->birth);
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
    const auto identity = identify(*path);
    if (!identity)
        return std::nullopt;
    const auto* scoped = plist::find(*dict, "securityScope");
    Resolved resolved;
    resolved.path = *path;
    resolved.isStale = identity->device != *device->get<std::int64_t>() ||
                       identity->inode != *inode->get<std::int64_t>() ||
                       identity->birth != integerOr(*dict, "birth", identity->birth);
    resolved.securityScoped = securityScope && scoped && scoped->is<bool>() && *scoped->get<bool>();
    return resolved;
}

}  // namespace platform
