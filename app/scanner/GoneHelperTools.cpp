#include "app/scanner/GoneHelperTools.h"

#include "app/locations/FolderAccess.h"
#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/RemainsFinder.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/SystemIdentifiers.h"
#include "app/scanner/WholeIdentifier.h"
#include "platform/Bundle.h"
#include "platform/LaunchJobFile.h"
#include "platform/PathUtil.h"
#include "platform/PropertyList.h"

#include <map>

namespace {

using T = RkUninstallCategoryType;


void addDeclared(const plist::Dictionary& info, std::set<std::string>& declared)
{
    const plist::Value* value = plist::find(info, "SMPrivilegedExecutables");
    if (const auto* keys = value ? value->get<plist::Dictionary>() : nullptr)
        for (const auto& [key, ignored] : *keys)
            declared.insert(platform::path::toLower(key));
}

}  // namespace

GoneHelperTools::GoneHelperTools(ScanIndex& index, const InstalledIdentifiers& installed, const std::set<std::string>& offered)
    : index_(index), installed_(installed), offered_(offered)
{
}

std::string GoneHelperTools::goneIdentifierOf(const std::string& fileName, const std::string& label,
                                              const std::vector<std::string>& goneIdentifiers) const
{
    for (const std::string& identifier :
         {RemainsFinder::identifierInName(label, T::daemon), RemainsFinder::identifierInName(fileName, T::daemon)}) {
        if (!identifier.empty() && (installed_.covers(identifier) || SystemIdentifiers::isSystem(identifier)))
            return "";
    }
    const std::string lowerLabel = platform::path::toLower(label);
    const std::string lowerName = platform::path::toLower(fileName);
    std::string longest;
    for (const auto& gone : goneIdentifiers) {
        if (gone.size() > longest.size() &&
            (WholeIdentifier::isCarriedBy(lowerLabel, gone) || WholeIdentifier::isCarriedBy(lowerName, gone)))
            longest = gone;
    }
    return longest;
}

std::vector<GoneHelperTools::Remain> GoneHelperTools::find(const std::vector<std::string>& goneIdentifiers, const Declared& declared)
{
    std::vector<Remain> found;
    if (goneIdentifiers.empty())
        return found;
    withStoredFolderAccess(SearchFilePath::accessRootForCategory(T::daemon), [&](bool granted) {
        if (!granted)
            return;
        // Every helper by its path as launchd would name it, with the jobs that run it.
        std::map<std::string, std::pair<std::string, std::string>> helpers;  // canonical path -> path, name
        for (const auto& folder : SearchFilePath::helperToolFolders()) {
            FolderSnapshot& tools = index_.folder(folder);
            if (!tools.listed())
                continue;
            for (std::uint32_t i = 0; i < tools.entries().size(); ++i)
                if (!tools.isShared(i))
                    helpers[ScanIndex::canonical(tools.fullPath(i))] = {tools.fullPath(i), tools.entries()[i].name};
        }
        if (helpers.empty())
            return;
        std::map<std::string, std::vector<Job>> jobsOf;  // by canonical helper path
        FolderSnapshot& jobs = index_.folder(SearchFilePath::resolveHomePath("/Library/LaunchDaemons"));
        for (std::uint32_t j = 0; jobs.listed() && j < jobs.entries().size(); ++j) {
            const std::string path = jobs.fullPath(j);
            std::string why;
            const auto job = platform::LaunchJobFile::read(path, false, why);
            if (!job)
                continue;
            const std::string program = ScanIndex::canonical(platform::LaunchJobFile::programOf(job->job));
            if (!helpers.count(program))
                continue;
            const std::string& name = jobs.entries()[j].name;
            const std::string label = plist::stringValue(job->job, "Label");
            jobsOf[program].push_back({path, name, label, goneIdentifierOf(name, label, goneIdentifiers)});
        }
        std::set<std::string> declaredNames;
        bool declaredRead = false;
        for (const auto& [program, runners] : jobsOf) {
            const auto& [helperPath, helperName] = helpers.at(program);
            bool qualifies = !offered_.count(helperPath);
            for (const auto& job : runners)
                qualifies = qualifies && !job.goneIdentifier.empty() && !offered_.count(job.path);
            if (!qualifies)
                continue;
            if (!declaredRead) {
                declaredNames = declared();
                declaredRead = true;
            }
            if (declaredNames.count(platform::path::toLower(helperName)))
                continue;
            const Job& first = runners.front();
            found.push_back({first.goneIdentifier, helperPath, helperName, T::other, first.label});
            for (const auto& job : runners)
                found.push_back({job.goneIdentifier, job.path, job.name, T::daemon, job.label});
        }
    });
    return found;
}

std::set<std::string> GoneHelperTools::declaredBy(ScanIndex& index, const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                                  const std::vector<std::string>& bundles)
{
    std::set<std::string> declared;
    for (const auto& app : installed) {
        if (app->appInfo)
            addDeclared(*app->appInfo, declared);
        for (const auto& inner : index.nestedApps(*app))
            if (inner->appInfo)
                addDeclared(*inner->appInfo, declared);
    }
    for (const auto& bundle : bundles) {
        for (const char* info : {"/Contents/Info.plist", "/Info.plist"}) {
            if (const auto dictionary = plist::readDictionarySafely(bundle + info, platform::Bundle::kMaxInfoPlistBytes)) {
                addDeclared(*dictionary, declared);
                break;
            }
        }
    }
    return declared;
}
