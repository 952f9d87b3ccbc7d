#include "app/catalogue/ExclusionStore.h"

#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserDefaults.h"

#include <algorithm>
#include <functional>

namespace {

constexpr const char* kDomain = "com.qzt.ostrova";
constexpr const char* kItemsKey = "ExcludedItems";
constexpr const char* kProtectedKey = "ProtectedApplications";

// One entry of "ExcludedItems" when it is sound; otherwise why not.
std::optional<ExcludedPath> itemFrom(const plist::Value& value, std::string& why)
{
    const auto* entry = value.get<plist::Dictionary>();
    if (!entry) {
        why = "not a dictionary";
        return std::nullopt;
    }
    const auto* path = plist::find(*entry, "Path");
    const auto* text = path ? path->get<std::string>() : nullptr;
    if (!text || !Exclusions::isPathName(*text) || text->find('\0') != std::string::npos) {
        why = "no absolute path";
        return std::nullopt;
    }
    const auto* application = plist::find(*entry, "Application");
    const auto* identifier = application ? application->get<std::string>() : nullptr;
    if (application && !identifier) {
        why = "(" + *text + "): the application is not a text";
        return std::nullopt;
    }
    return ExcludedPath{*text, identifier ? *identifier : std::string()};
}

// One entry of "ProtectedApplications" when it is sound.
const std::string* protectedFrom(const plist::Value& value)
{
    const auto* name = value.get<std::string>();
    return name && !name->empty() ? name : nullptr;
}

// The stored list of `key`, or why it is not one.
const plist::Array* listOf(const std::optional<plist::Value>& value, const char* key, std::vector<std::string>* dropped)
{
    if (!value)
        return nullptr;
    const auto* list = value->get<plist::Array>();
    if (!list && dropped)
        dropped->push_back(std::string(key) + ": not a list");
    return list;
}

std::vector<ExcludedPath> readItems(const platform::UserDefaults& defaults, std::vector<std::string>* dropped)
{
    std::vector<ExcludedPath> items;
    const auto stored = defaults.objectForKey(kItemsKey);
    const auto* list = listOf(stored, kItemsKey, dropped);
    if (!list)
        return items;
    for (std::size_t at = 0; at < list->size(); ++at) {
        std::string why;
        if (auto item = itemFrom((*list)[at], why))
            items.push_back(std::move(*item));
        else if (dropped)
            dropped->push_back(std::string(kItemsKey) + " entry " + std::to_string(at + 1) + (why.front() == '(' ? " " : ": ") + why);
    }
    return items;
}

std::vector<std::string> readProtected(const platform::UserDefaults& defaults, std::vector<std::string>* dropped)
{
    std::vector<std::string> names;
    const auto stored = defaults.objectForKey(kProtectedKey);
    const auto* list = listOf(stored, kProtectedKey, dropped);
    if (!list)
        return names;
    for (std::size_t at = 0; at < list->size(); ++at) {
        if (const auto* name = protectedFrom((*list)[at]))
            names.push_back(*name);
        else if (dropped)
            dropped->push_back(std::string(kProtectedKey) + " entry " + std::to_string(at + 1) + ": not a name");
    }
    return names;
}

// Edits the stored list of `key` in place, under the defaults' lock: the entries `edit` does not
// touch stay as they are, unreadable ones too (they are the user's to mend). A value that is not a
// list holds nothing sound and gives way to a new list.
bool editList(const char* key, const std::function<bool(plist::Array&)>& edit)
{
    return platform::UserDefaults(kDomain).modifyObject(key, [&](std::optional<plist::Value>& value) {
        plist::Array list;
        if (value)
            if (const auto* stored = value->get<plist::Array>())
                list = *stored;
        if (!edit(list))
            return false;
        value = plist::Value(std::move(list));
        return true;
    });
}

bool sameProtected(const std::string& a, const std::string& b)
{
    if (Exclusions::isPathName(a) != Exclusions::isPathName(b))
        return false;
    if (!Exclusions::isPathName(a))
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
    if (!Exclusions::isPathName(path))
        return false;
    return editList(kItemsKey, [&](plist::Array& list) {
        const bool there = std::any_of(list.begin(), list.end(), [&](const plist::Value& value) {
            std::string why;
            const auto item = itemFrom(value, why);
            return item && item->path == path && BundleIdentifier::same(item->application, application);
        });
        if (!there) {
            plist::Dictionary entry{{"Path", plist::Value(path)}};
            if (!application.empty())
                entry.emplace("Application", plist::Value(application));
            list.emplace_back(std::move(entry));
        }
        return true;
    });
}

bool ExclusionStore::remove(const std::string& path, std::optional<std::string> application)
{
    bool removed = false;
    const bool written = editList(kItemsKey, [&](plist::Array& list) {
        const auto matches = [&](const plist::Value& value, bool byPlace) {
            std::string why;
            const auto item = itemFrom(value, why);
            if (!item || (application && !BundleIdentifier::same(item->application, *application)))
                return false;
            if (!byPlace)
                return item->path == path;
            const auto forms = Exclusions::comparableForms(path), itemForms = Exclusions::comparableForms(item->path);
            return !forms.empty() && !itemForms.empty() && itemForms.front() == forms.front();
        };
        // The entry as it was written first; only when none is, the other spellings of its place
        // (which means looking at the disk).
        for (const bool byPlace : {false, true}) {
            removed = std::erase_if(list, [&](const plist::Value& value) { return matches(value, byPlace); }) > 0;
            if (removed)
                break;
        }
        return removed;
    });
    return removed && written;
}

bool ExclusionStore::protect(const std::string& name)
{
    if (name.empty())
        return false;
    return editList(kProtectedKey, [&](plist::Array& list) {
        const bool there = std::any_of(list.begin(), list.end(), [&](const plist::Value& value) {
            const auto* entry = protectedFrom(value);
            return entry && sameProtected(*entry, name);
        });
        if (!there)
            list.emplace_back(name);
        return true;
    });
}

bool ExclusionStore::unprotect(const std::string& name)
{
    if (Exclusions::isOwnIdentifier(name))
        return false;
    bool removed = false;
    const bool written = editList(kProtectedKey, [&](plist::Array& list) {
        removed = std::erase_if(list, [&](const plist::Value& value) {
            const auto* entry = protectedFrom(value);
            return entry && sameProtected(*entry, name);
        }) > 0;
        return removed;
    });
    return removed && written;
}
