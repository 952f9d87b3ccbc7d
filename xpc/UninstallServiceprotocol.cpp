#include "xpc/UninstallServiceprotocol.h"

namespace {

std::optional<std::string> textAt(const plist::Array& arguments, std::size_t index)
{
    if (index >= arguments.size())
        return std::nullopt;
    if (const auto* text = arguments[index].get<std::string>())
        return *text;
    return std::nullopt;
}

}  // namespace

void UninstallServiceProxy::call(const char* operation, plist::Array arguments, Reply reply)
{
    connection_->send(xpcwire::Request{operation, std::move(arguments)}, std::move(reply));
}

void UninstallServiceProxy::testWithReply(Reply reply)
{
    call(uninstallservice::kTest, {}, std::move(reply));
}

void UninstallServiceProxy::removeWithPaths(const std::vector<std::string>& paths, Reply reply)
{
    plist::Array list;
    for (const auto& path : paths)
        list.emplace_back(path);
    call(uninstallservice::kRemove, {plist::Value(std::move(list))}, std::move(reply));
}

void UninstallServiceProxy::unloadPlistWithPath(const std::string& path, Reply reply)
{
    call(uninstallservice::kUnload, {plist::Value(path)}, std::move(reply));
}

void UninstallServiceProxy::killProcessWithExecutablePath(const std::string& path, const std::string& name, Reply reply)
{
    call(uninstallservice::kKillExecutable, {plist::Value(path), plist::Value(name)}, std::move(reply));
}

void UninstallServiceProxy::KillProcessWithBundlePath(const std::string& bundlePath, Reply reply)
{
    call(uninstallservice::kKillBundle, {plist::Value(bundlePath)}, std::move(reply));
}

void UninstallServiceProxy::moveToTrashWithPath(const std::string& path, const std::string& trashName, Reply reply)
{
    call(uninstallservice::kMoveToTrash, {plist::Value(path), plist::Value(trashName)}, std::move(reply));
}

void UninstallServiceProxy::unloadPlistWithPath(const std::string& path, const std::string& trashName, Reply reply)
{
    call(uninstallservice::kUnloadToTrash, {plist::Value(path), plist::Value(trashName)}, std::move(reply));
}

void UninstallServiceProxy::putBackWithPath(const std::string& path, const std::string& trashName, Reply reply)
{
    call(uninstallservice::kPutBack, {plist::Value(path), plist::Value(trashName)}, std::move(reply));
}

void UninstallServiceProxy::loadPlistWithPath(const std::string& path, Reply reply)
{
    call(uninstallservice::kLoad, {plist::Value(path)}, std::move(reply));
}

void UninstallServiceProxy::authorizeWithRight(const std::string& right, Reply reply)
{
    call(uninstallservice::kAuthorize, {plist::Value(right)}, std::move(reply));
}

std::shared_ptr<UninstallServiceprotocol> XPCInterface<UninstallServiceprotocol>::makeProxy(
    const std::shared_ptr<XPCConnection>& connection)
{
    return std::make_shared<UninstallServiceProxy>(connection);
}

bool XPCInterface<UninstallServiceprotocol>::dispatch(UninstallServiceprotocol& service, const xpcwire::Request& request,
                                                      std::function<void(bool)> reply)
{
    const auto& args = request.arguments;
    if (request.operation == uninstallservice::kTest && args.empty()) {
        service.testWithReply(std::move(reply));
        return true;
    }
    if (request.operation == uninstallservice::kRemove && args.size() == 1 && args[0].is<plist::Array>()) {
        std::vector<std::string> paths;
        for (const auto& element : *args[0].get<plist::Array>()) {
            const auto* text = element.get<std::string>();
            if (!text)
                return false;
            paths.push_back(*text);
        }
        service.removeWithPaths(paths, std::move(reply));
        return true;
    }
    if (request.operation == uninstallservice::kUnload && args.size() == 1 && textAt(args, 0)) {
        service.unloadPlistWithPath(*textAt(args, 0), std::move(reply));
        return true;
    }
    if (request.operation == uninstallservice::kLoad && args.size() == 1 && textAt(args, 0)) {
        service.loadPlistWithPath(*textAt(args, 0), std::move(reply));
        return true;
    }
    if (args.size() == 2 && textAt(args, 0) && textAt(args, 1)) {
        if (request.operation == uninstallservice::kMoveToTrash) {
            service.moveToTrashWithPath(*textAt(args, 0), *textAt(args, 1), std::move(reply));
            return true;
        }
        if (request.operation == uninstallservice::kUnloadToTrash) {
            service.unloadPlistWithPath(*textAt(args, 0), *textAt(args, 1), std::move(reply));
            return true;
        }
        if (request.operation == uninstallservice::kPutBack) {
            service.putBackWithPath(*textAt(args, 0), *textAt(args, 1), std::move(reply));
            return true;
        }
    }
    if (request.operation == uninstallservice::kKillExecutable && args.size() == 2 && textAt(args, 0) && textAt(args, 1)) {
        service.killProcessWithExecutablePath(*textAt(args, 0), *textAt(args, 1), std::move(reply));
        return true;
    }
    if (request.operation == uninstallservice::kAuthorize && args.size() == 1 && textAt(args, 0)) {
        service.authorizeWithRight(*textAt(args, 0), std::move(reply));
        return true;
    }
    if (request.operation == uninstallservice::kKillBundle && args.size() == 1 && textAt(args, 0)) {
        service.KillProcessWithBundlePath(*textAt(args, 0), std::move(reply));
        return true;
    }
    return false;
}
