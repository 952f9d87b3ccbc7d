#include "tools/ostrova/AppSelector.h"

#include "platform/PathUtil.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

std::string realPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : platform::path::trimTrailingSlashes(path);
}

}  // namespace

std::shared_ptr<UninstallApp> AppSelector::find(const std::string& word) const
{
    if (word.find('/') != std::string::npos) {
        const std::string wanted = realPath(word);
        for (const auto& app : catalogue_)
            if (app->bundlePath && realPath(*app->bundlePath) == wanted)
                return app;
        return nullptr;
    }
    for (const auto& app : catalogue_)
        if (app->bundleIdentifier() == word)
            return app;
    const std::string lower = platform::path::toLower(word);
    for (const auto& app : catalogue_) {
        const std::string name = app->displayName();
        if (platform::path::toLower(name) == lower ||
            platform::path::toLower(platform::path::lastComponent(app->bundlePath.value_or(""))) == lower ||
            platform::path::toLower(platform::path::lastComponent(app->bundlePath.value_or(""))) == lower + ".app")
            return app;
    }
    return nullptr;
}

AppSelector::Apps AppSelector::select(const std::vector<std::string>& words, std::vector<std::string>& unknown) const
{
    Apps chosen;
    for (const auto& word : words) {
        const auto app = find(word);
        if (!app) {
            unknown.push_back(word);
        } else if (std::find(chosen.begin(), chosen.end(), app) == chosen.end()) {
            chosen.push_back(app);
        }
    }
    return chosen;
}
