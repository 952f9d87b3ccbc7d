#include "platform/SystemRoot.h"

#include "platform/PathUtil.h"

#include <cstdlib>

namespace platform {

std::string systemRoot()
{
    const char* root = std::getenv("OSTROVA_ROOT");
    if (root == nullptr || *root == '\0')
        return "/";
    std::string value(root);
    while (value.size() > 1 && value.back() == '/')
        value.pop_back();
    return value;
}

std::string fixedPath(std::string_view macPath)
{
    if (macPath.empty() || macPath.front() != '/')
        return std::string(macPath);
    const std::string root = systemRoot();
    if (root == "/")
        return std::string(macPath);
    if (macPath == "/")
        return root;
    return root + std::string(macPath);
}

std::string macPathOf(const std::string& hostPath)
{
    const std::string root = systemRoot();
    if (root == "/")
        return hostPath;
    if (hostPath == root)
        return "/";
    if (path::startsWith(hostPath, root + "/"))
        return hostPath.substr(root.size());
    return hostPath;
}

}  // namespace platform
