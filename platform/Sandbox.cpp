#include "platform/Sandbox.h"

#include "platform/PathUtil.h"

#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

namespace platform {
namespace {

struct Grants {
    std::mutex mutex;
    std::set<std::string> panelGrants;
    std::map<std::string, int> scopedAccesses;
};

Grants& grants()
{
    static auto* state = new Grants;  // used from every queue until exit
    return *state;
}

bool isAtOrBelow(const std::string& candidate, const std::string& root)
{
    const std::string a = path::trimTrailingSlashes(candidate), b = path::trimTrailingSlashes(root);
    return a == b || path::isInside(a, b);
}

}  // namespace

bool Sandbox::isActive()
{
    return std::getenv("APP_SANDBOX_CONTAINER_ID") != nullptr;
}

bool Sandbox::isReadableAndWritable(const std::string& path)
{
    if (path.empty() || ::access(path.c_str(), R_OK | W_OK) != 0)
        return false;
    if (!isActive())
        return true;
    if (isAtOrBelow(path, path::homeDirectory()) || isAtOrBelow(path, path::temporaryDirectory()))
        return true;
    auto& state = grants();
    std::lock_guard lock(state.mutex);
    for (const auto& granted : state.panelGrants) {
        if (isAtOrBelow(path, granted))
            return true;
    }
    for (const auto& [granted, count] : state.scopedAccesses) {
        if (count > 0 && isAtOrBelow(path, granted))
            return true;
    }
    return false;
}

bool Sandbox::startAccessingSecurityScopedResource(const std::string& path)
{
    if (path.empty())
        return false;
    auto& state = grants();
    std::lock_guard lock(state.mutex);
    ++state.scopedAccesses[path::trimTrailingSlashes(path)];
    return true;
}

void Sandbox::stopAccessingSecurityScopedResource(const std::string& path)
{
    auto& state = grants();
    std::lock_guard lock(state.mutex);
    const auto it = state.scopedAccesses.find(path::trimTrailingSlashes(path));
    if (it != state.scopedAccesses.end() && --it->second <= 0)
        state.scopedAccesses.erase(it);
}

void Sandbox::grantForProcess(const std::string& path)
{
    auto& state = grants();
    std::lock_guard lock(state.mutex);
    state.panelGrants.insert(path::trimTrailingSlashes(path));
}

void Sandbox::resetGrants()
{
    auto& state = grants();
    std::lock_guard lock(state.mutex);
    state.panelGrants.clear();
    state.scopedAccesses.clear();
}

}  // namespace platform
