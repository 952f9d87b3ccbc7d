#include "tools/ostrova/ExcludeCommand.h"

#include "app/catalogue/ExclusionStore.h"
#include "app/catalogue/UninstallAppManager.h"
#include "tools/ostrova/AppSelector.h"
#include "tools/ostrova/JsonWriter.h"
#include "platform/PathUtil.h"

#include <algorithm>
#include <cstddef>
#include <iostream>

namespace {

// The store as far as it is sound, each entry left out said on standard error.
Exclusions loaded(std::size_t* droppedCount = nullptr)
{
    std::vector<std::string> dropped;
    auto exclusions = ExclusionStore::load(&dropped);
    for (const auto& entry : dropped)
        std::cerr << "ostrova: the exclusions store: dropped " << entry << "\n";
    if (droppedCount)
        *droppedCount = dropped.size();
    return exclusions;
}

// What the store keeps for an application a user names: its bundle identifier, or its bundle path
// when it has none. Empty when nothing installed answers to the word.
std::string storedName(const std::string& word)
{
    const auto catalogue = UninstallAppManager::make();
    catalogue->discoverApps();
    std::vector<std::string> unknown;
    const auto apps = AppSelector(catalogue->allApps()).select({word}, unknown);
    if (apps.empty())
        return {};
    const auto identifier = apps.front()->bundleIdentifier();
    return identifier.empty() ? apps.front()->bundlePath.value_or("") : identifier;
}

int list(const CommandLine& line)
{
    std::size_t dropped = 0;
    const auto exclusions = loaded(&dropped);
    if (line.has("--json")) {
        JsonWriter json;
        json.beginObject();
        json.key("excluded");
        json.beginArray();
        for (const auto& excluded : exclusions.paths()) {
            json.beginObject();
            json.key("path");
            json.value(excluded.path);
            json.key("application");
            json.value(excluded.application);
            json.endObject();
        }
        json.endArray();
        json.key("protected");
        json.beginArray();
        json.value("com.qzt.ostrova");
        for (const auto& name : exclusions.protectedApplications())
            json.value(name);
        json.endArray();
        json.endObject();
        std::cout << json.text() << "\n";
    } else {
        std::cout << "Excluded:\n";
        if (exclusions.paths().empty())
            std::cout << "  (none)\n";
        for (const auto& excluded : exclusions.paths())
            std::cout << "  " << excluded.path << "  ("
                      << (excluded.application.empty() ? std::string("every application") : "for " + excluded.application) << ")\n";
        std::cout << "Protected:\n  com.qzt.ostrova  (Ostrova, always)\n";
        for (const auto& name : exclusions.protectedApplications())
            std::cout << "  " << name << "\n";
    }
    return dropped == 0 ? 0 : 1;
}

int add(const CommandLine& line, const std::vector<std::string>& paths)
{
    const auto apps = line.optionValues("--app");
    if (apps.size() > 1) {
        std::cerr << "ostrova: exclude add takes one --app\n";
        return 2;
    }
    for (const auto& path : paths) {
        if (path.empty() || path.front() != '/') {
            std::cerr << "ostrova: '" << path << "' is not an absolute path\n";
            return 2;
        }
    }
    loaded();
    std::string application;
    if (!apps.empty()) {
        application = storedName(apps.front());
        if (application.empty()) {
            std::cerr << "ostrova: no installed application is named '" << apps.front() << "'\n";
            return 1;
        }
        if (application.front() == '/') {
            std::cerr << "ostrova: " << apps.front() << " has no bundle identifier to keep an exclusion under; "
                      << "leave out --app to exclude the path for every application\n";
            return 1;
        }
    }
    int status = 0;
    for (const auto& path : paths) {
        if (!ExclusionStore::add(path, application)) {
            std::cerr << "ostrova: could not store the exclusion of " << path << "\n";
            status = 1;
        }
    }
    return status;
}

int remove(const std::vector<std::string>& paths)
{
    loaded();
    int status = 0;
    for (const auto& path : paths) {
        if (!ExclusionStore::remove(path)) {
            std::cerr << "ostrova: " << path << " is not excluded\n";
            status = 1;
        }
    }
    return status;
}

int protect(bool protecting, const std::vector<std::string>& words)
{
    const auto exclusions = loaded();
    int status = 0;
    for (const auto& word : words) {
        if (ExcludeCommand::namesOstrova(word)) {
            if (!protecting) {
                std::cerr << "ostrova: Ostrova is always protected\n";
                status = 1;
            }
            continue;
        }
        std::string name = storedName(word);
        if (name.empty() && protecting) {
            std::cerr << "ostrova: no installed application is named '" << word << "'\n";
            status = 1;
            continue;
        }
        // Unprotecting, the word as stored counts too (an application gone since).
        if (!protecting && !exclusions.protectsName(name) && exclusions.protectsName(word))
            name = word;
        if (!protecting && (name.empty() || !exclusions.protectsName(name))) {
            std::cerr << "ostrova: " << word << " is not protected\n";
            status = 1;
            continue;
        }
        if (!(protecting ? ExclusionStore::protect(name) : ExclusionStore::unprotect(name))) {
            std::cerr << "ostrova: could not change the protection of " << word << "\n";
            status = 1;
        }
    }
    return status;
}

}  // namespace

bool ExcludeCommand::namesOstrova(const std::string& word)
{
    if (Exclusions::isOwnIdentifier(word))
        return true;
    std::string name = platform::path::toLower(word);
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    const auto slash = name.rfind('/');
    return name == "ostrova" || (slash != std::string::npos && name.substr(slash + 1) == "ostrova.app");
}

void ExcludeCommand::reportDropped()
{
    loaded();
}

bool ExcludeCommand::refusesProtected(const std::vector<std::shared_ptr<UninstallApp>>& apps)
{
    const auto exclusions = ExclusionStore::load();
    bool allowed = true;
    for (const auto& app : apps) {
        if (!app->isProtected && !exclusions.protects(*app))
            continue;
        allowed = false;
        const bool byName = exclusions.protectsName(app->bundleIdentifier()) ||
                            (app->bundlePath && exclusions.protectsName(*app->bundlePath));
        if (byName)
            std::cerr << "ostrova: " << app->displayName() << " is protected; run `ostrova exclude unprotect "
                      << app->displayName() << "` first\n";
        else
            std::cerr << "ostrova: " << app->displayName() << " is protected: an exclusion covers its bundle "
                      << "(see `ostrova exclude list`)\n";
    }
    return allowed;
}

int ExcludeCommand::run(const CommandLine& line)
{
    if (line.operands.empty()) {
        std::cerr << "ostrova: exclude needs list, add, remove, protect or unprotect\n";
        return 2;
    }
    const std::string action = line.operands.front();
    const std::vector<std::string> rest(line.operands.begin() + 1, line.operands.end());
    if ((line.has("--json") && action != "list") || (!line.optionValues("--app").empty() && action != "add")) {
        std::cerr << "ostrova: --json goes with exclude list, --app with exclude add\n";
        return 2;
    }
    if (action == "list") {
        if (!rest.empty()) {
            std::cerr << "ostrova: exclude list takes no operands\n";
            return 2;
        }
        return list(line);
    }
    if (action != "add" && action != "remove" && action != "protect" && action != "unprotect") {
        std::cerr << "ostrova: unknown exclude action '" << action << "'\n";
        return 2;
    }
    if (rest.empty()) {
        std::cerr << "ostrova: exclude " << action << " needs " << (action == "add" || action == "remove" ? "a path" : "an application") << "\n";
        return 2;
    }
    if (action == "add")
        return add(line, rest);
    if (action == "remove")
        return remove(rest);
    return protect(action == "protect", rest);
}
