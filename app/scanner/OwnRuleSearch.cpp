#include "app/scanner/OwnRuleSearch.h"

#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/ScanTokens.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <algorithm>
#include <set>

namespace {

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The identifier itself, or it followed by "." and more.
bool isOrExtends(std::string_view candidate, std::string_view identifier)
{
    if (identifier.empty() || candidate.substr(0, identifier.size()) != identifier)
        return false;
    return candidate.size() == identifier.size() || candidate[identifier.size()] == '.';
}

}  // namespace

OwnRuleSearch::OwnRuleSearch(ScanIndex& index, ScanTokens& tokens, const UninstallApp& app, const std::vector<std::string>& family)
    : index_(index), tokens_(tokens), app_(app), family_(family)
{
}

bool OwnRuleSearch::owned(std::string_view name) const
{
    return !index_.claimedByMoreSpecific(name, tokens_.raw, family_);
}

MatchSet OwnRuleSearch::helperTools()
{
    MatchSet found;
    std::set<std::string> privileged;
    if (app_.appInfo) {
        if (const plist::Value* value = plist::find(*app_.appInfo, "SMPrivilegedExecutables")) {
            if (const auto* keys = value->get<plist::Dictionary>())
                for (const auto& [key, ignored] : *keys)
                    privileged.insert(key);
        }
    }
    const std::string daemons = SearchFilePath::resolveHomePath("/Library/LaunchDaemons");
    for (const auto& folder : SearchFilePath::helperToolFolders()) {
        FolderSnapshot& tools = index_.folder(folder);
        if (!tools.listed())
            continue;
        for (std::uint32_t i = 0; i < tools.entries().size(); ++i)
            if (privileged.count(tools.entries()[i].name) && !tools.isShared(i))
                found.add(tools.fullPath(i), tools.entries()[i].name);

        FolderSnapshot& jobs = index_.folder(daemons);
        for (std::uint32_t j = 0; j < jobs.entries().size(); ++j) {
            const auto& job = jobs.entries()[j];
            if (!index_.claims().wins(tokens_, index_.ownerOf(app_), job.key, job.name, ""))
                continue;
            const auto& programs = index_.launchPrograms(jobs.fullPath(j));
            if (!programs)
                continue;
            for (const auto& program : *programs) {
                const std::string tidy = platform::path::trimTrailingSlashes(program);
                if (platform::path::deletingLastComponent(tidy) == platform::path::trimTrailingSlashes(folder))
                    found.add(tidy, platform::path::lastComponent(tidy));
            }
        }
    }
    return found;
}

MatchSet OwnRuleSearch::receipts()
{
    MatchSet found;
    if (tokens_.raw.empty())
        return found;
    for (const auto& folder : SearchFilePath::receiptFolders()) {
        FolderSnapshot& receipts = index_.folder(folder);
        for (std::uint32_t i = 0; i < receipts.entries().size(); ++i) {
            const std::string& name = receipts.entries()[i].name;
            std::string_view package = name;
            if (endsWith(package, ".bom"))
                package.remove_suffix(4);
            else if (endsWith(package, ".plist"))
                package.remove_suffix(6);
            else
                continue;
            if (isOrExtends(package, tokens_.raw) && owned(package) && !receipts.isShared(i))
                found.add(receipts.fullPath(i), name);
        }
    }
    return found;
}

MatchSet OwnRuleSearch::plugIns()
{
    MatchSet found;
    if (tokens_.raw.empty())
        return found;
    for (const auto& folder : index_.plugInFolders()) {
        FolderSnapshot& plugIns = index_.folder(folder);
        for (std::uint32_t i = 0; i < plugIns.entries().size(); ++i) {
            const std::string path = plugIns.fullPath(i);
            const std::string& identifier = index_.bundleIdentifierAt(path);
            if (identifier.size() > tokens_.raw.size() && isOrExtends(identifier, tokens_.raw) && owned(identifier) &&
                !plugIns.isShared(i))
                found.add(path, plugIns.entries()[i].name);
        }
    }
    return found;
}

MatchSet OwnRuleSearch::declaredGroups()
{
    MatchSet found;
    const auto& groups = index_.declaredGroups(app_);
    if (groups.empty())
        return found;
    FolderSnapshot& containers = index_.folder(SearchFilePath::resolveHomePath("~/Library/Group Containers"));
    for (std::uint32_t i = 0; i < containers.entries().size(); ++i) {
        const std::string& name = containers.entries()[i].name;
        if (std::find(groups.begin(), groups.end(), name) != groups.end() && !index_.groupDeclaredElsewhere(name, family_) &&
            !containers.isShared(i))
            found.add(containers.fullPath(i), name);
    }
    return found;
}
