#include "app/catalogue/ExclusionStore.h"

#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserDefaults.h"

#include <algorithm>

namespace {

constexpr const char* kDomain = "com.qzt.ostrova";
constexpr const char* kItemsKey = "ExcludedItems";
constexpr const char* kProtectedKey = "ProtectedApplications";

bool isPathLike(const std::string& text)
{
    return !text.empty() && (text.front() == '/' || text.front() == '~');
}

plist::Array itemsOf(const Exclusions& exclusions)
{
    plist::Array items;
    for (const auto& excluded : exclusions.paths()) {
        plist::Dictionary entry{{"Path", plist::Value(excluded.path)}};
        if (!excluded.application.empty())
            entry.emplace("Application", plist::Value(excluded.application));
        items.emplace_back(std::move(entry));
    }
    return items;
}

plist::Array protectedOf(const Exclusions& exclusions)
{
    plist::Array names;
    for (const auto& name : exclusions.protectedApplications())
        names.emplace_back(name);
    return names;
}

std::vector<ExcludedPath> readItems(const platform::UserDefaults& defaults, std::vector<std::string>* dropped)
{
    std::vector<ExcludedPath> items;
    const auto value = defaults.objectForKey(kItemsKey);
    if (!value)
        return items;
    const auto* list = value->get<plist::Array>();
    if (!list) {
        if (dropped)
            dropped->push_back(std::string(kItemsKey) + ": not a list");
        return items;
    }
    for (std::size_t at = 0; at < list->size(); ++at) {
        const auto* entry = (*list)[at].get<plist::Dictionary>();
        const std::string place = std::string(kItemsKey) + " entry " + std::to_string(at + 1);
        if (!entry) {
            if (dropped)
                dropped->push_back(place + ": not a dictionary");
            continue;
        }
        const auto* path = plist::find(*entry, "Path");
        const auto* text = path ? path->get<std::string>() : nullptr;
        if (!text || !isPathLike(*text) || text->find('\0') != std::string::npos) {
            if (dropped)
                dropped->push_back(place + ": no absolute path");
            continue;
        }
        const auto* application = plist::find(*entry, "Application");
        const auto* identifier = application ? application->get<std::string>() : nullptr;
        if (application && !identifier) {
            if (dropped)
                dropped->push_back(place + " (" + *text + "): the application is not a text");
            continue;
        }
        items.push_back({*text, identifier ? *identifier : std::string()});
    }
    return items;
}

std::vector<std::string> readProtected(const platform::UserDefaults& defaults, std::vector<std::string>* dropped)
{
    std::vector<std::string> names;
    const auto value = defaults.objectForKey(kProtectedKey);
    if (!value)
        return names;
    const auto* list = value->get<plist::Array>();
    if (!list) {
        if (dropped)
            dropped->push_back(std::string(kProtectedKey) + ": not a list");
        return names;
    }
    for (std::size_t at = 0; at < list->size(); ++at) {
        const auto* name = (*list)[at].get<std::string>();
        if (!name || name->empty()) {
            if (dropped)
                dropped->push_back(std::string(kProtectedKey) + " entry " + std::to_string(at + 1) + ": not a name");
            continue;
        }
        names.push_back(*name);
    }
    return names;
}

bool sameProtected(const std::string& a, const std::string& b)
{
    if (isPathLike(a) != isPathLike(b))
        return false;
    if (!isPathLike(a))
        return BundleIdentifier::same(a, b);
    const auto formsA = Exclusions::comparableForms(a), formsB = Exclusions::comparableForms(b);
    return !formsA.empty() && !formsB.empty() && formsA.front() == formsB.front();
}

}  // namespace

Exclusions ExclusionStore::load(std::vector<std::string>* dropped)
{
    const platform::UserDefaults defaults(kDomain);
    const std::string file = defaults.filePath();
    if (dropped && platform::fs::linkStatus(file) && !plist::readDictionary(file))
        dropped->push_back(file + ": not a property list");
    auto items = readItems(defaults, dropped);
    auto names = readProtected(defaults, dropped);
    return Exclusions(std::move(items), std::move(names));
}

bool ExclusionStore::add(const std::string& path, const std::string& application)
{
    if (!isPathLike(path))
        return false;
    const Exclusions now = load();
    auto items = now.paths();
    const bool there = std::any_of(items.begin(), items.end(), [&](const ExcludedPath& item) {
        return item.path == path && BundleIdentifier::same(item.application, application);
    });
    if (there)
        return true;
    items.push_back({path, application});
    return platform::UserDefaults(kDomain).setObject(kItemsKey, plist::Value(itemsOf(Exclusions(std::move(items), {}))));
}

bool ExclusionStore::remove(const std::string& path)
{
    const auto forms = Exclusions::comparableForms(path);
    const Exclusions now = load();
    auto items = now.paths();
    const auto removed = std::erase_if(items, [&](const ExcludedPath& item) {
        if (item.path == path)
            return true;
        const auto itemForms = Exclusions::comparableForms(item.path);
        return !forms.empty() && !itemForms.empty() && itemForms.front() == forms.front();
    });
    if (removed == 0)
        return false;
    return platform::UserDefaults(kDomain).setObject(kItemsKey, plist::Value(itemsOf(Exclusions(std::move(items), {}))));
}

bool ExclusionStore::protect(const std::string& name)
{
    if (name.empty())
        return false;
    const Exclusions now = load();
    auto names = now.protectedApplications();
    if (std::any_of(names.begin(), names.end(), [&](const std::string& entry) { return sameProtected(entry, name); }))
        return true;
    names.push_back(name);
    return platform::UserDefaults(kDomain).setObject(kProtectedKey, plist::Value(protectedOf(Exclusions({}, std::move(names)))));
}

bool ExclusionStore::unprotect(const std::string& name)
{
    if (Exclusions::isOwnIdentifier(name))
        return false;
    const Exclusions now = load();
    auto names = now.protectedApplications();
    if (std::erase_if(names, [&](const std::string& entry) { return sameProtected(entry, name); }) == 0)
        return false;
    return platform::UserDefaults(kDomain).setObject(kProtectedKey, plist::Value(protectedOf(Exclusions({}, std::move(names)))));
}
