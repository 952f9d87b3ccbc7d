#include "app/scanner/RemainsFinder.h"

#include "Auxiliary/FileSize.h"
#include "app/locations/FolderAccess.h"
#include "app/locations/SearchFilePath.h"
#include "app/records/UninstallApp.h"
#include "app/scanner/BundleWalk.h"
#include "app/scanner/GoneHelperTools.h"
#include "app/scanner/ScanIndex.h"
#include "app/scanner/StopToken.h"
#include "app/scanner/SystemIdentifiers.h"
#include "platform/BundleIdentifier.h"
#include "platform/FileSystem.h"
#include "platform/LaunchJobFile.h"
#include "platform/PathUtil.h"
#include "platform/ProcessTable.h"
#include "platform/SystemRoot.h"
#include "platform/Uuid.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

using T = RkUninstallCategoryType;

bool endsWithIgnoringCase(std::string_view text, std::string_view tail)
{
    if (text.size() <= tail.size())
        return false;
    const auto end = text.substr(text.size() - tail.size());
    return std::equal(end.begin(), end.end(), tail.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

bool allOf(std::string_view text, int (*test)(int))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}

bool isHex(std::string_view text)
{
    return allOf(text, isxdigit);
}

// A per-host preferences file's hardware id: a UUID, or the twelve hex digits of an older Mac.
bool isHardwareId(std::string_view label)
{
    if (label.size() == 12)
        return isHex(label);
    if (label.size() != 36)
        return false;
    for (std::size_t i = 0; i < label.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash != (label[i] == '-') || (!dash && !std::isxdigit(static_cast<unsigned char>(label[i]))))
            return false;
    }
    return true;
}

// A developer team id: ten upper-case letters and digits.
bool isTeamId(std::string_view label)
{
    return label.size() == 10 &&
           std::all_of(label.begin(), label.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

constexpr std::array<std::string_view, 11> kTails = {".plist", ".savedState", ".binarycookies", ".bom", ".crash", ".ips",
                                                     ".diag", ".log", ".db", ".sqlite", ".lockfile"};

constexpr std::array<std::string_view, 24> kGenericTopLevel = {"com", "org", "net", "io", "edu", "gov", "app", "dev",
                                                               "info", "biz", "me", "co", "tv", "cc", "ai", "xyz",
                                                               "pro", "tech", "studio", "software", "cloud", "design",
                                                               "games", "name"};

std::vector<std::string_view> labels(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos)
            return parts;
        start = dot + 1;
    }
}

// The path of the outermost ".app" folder of `path`, "" for none.
std::string outermostBundle(const std::string& path)
{
    std::string walked;
    for (const auto& part : platform::path::components(path)) {
        walked = walked.empty() || walked == "/" ? walked + part : walked + "/" + part;
        if (part != "/" && platform::path::toLower(platform::path::extension(part)) == "app")
            return walked;
    }
    return "";
}

// A preferences file is read for the name it gives only when it is this small.
constexpr std::size_t kMaxPreferencesBytes = 1u << 20;


// The labels of the launch jobs that run an existing program outside every application bundle and
// the helper-tool folders: software installed without an application (a package manager's
// services, /usr/local/opt/x/bin/x or /opt/homebrew/opt/...). What carries such a label is its.
std::vector<std::string> serviceLabels(ScanIndex& index)
{
    std::vector<std::string> found;
    const auto helperFolders = SearchFilePath::helperToolFolders();
    withStoredFolderAccess(SearchFilePath::accessRootForCategory(T::daemon), [&](bool granted) {
        if (!granted)
            return;
        for (const auto& folderPath : index.foldersFor(T::daemon)) {
            FolderSnapshot& folder = index.folder(folderPath);
            if (!folder.listed())
                continue;
            for (std::uint32_t i = 0; i < folder.entries().size(); ++i) {
                if (!endsWithIgnoringCase(folder.entries()[i].name, ".plist"))
                    continue;
                std::string why;
                const auto job = platform::LaunchJobFile::read(folder.fullPath(i), false, why);
                const std::string program = job ? platform::LaunchJobFile::programOf(job->job) : "";
                if (program.empty() || program.front() != '/' || !outermostBundle(program).empty() ||
                    std::any_of(helperFolders.begin(), helperFolders.end(),
                                [&](const std::string& helpers) { return platform::path::isInside(program, helpers); }) ||
                    !platform::fs::exists(program))
                    continue;
                if (auto label = plist::stringValue(job->job, "Label"); !label.empty())
                    found.push_back(std::move(label));
            }
        }
    });
    return found;
}

struct Remain {
    std::string path;
    std::string name;
    T category;
};

struct Found {
    std::string identifier;  // as first seen
    std::vector<Remain> remains;
    std::string bundleName;  // a preferences file's CFBundleName
    std::string jobBundle;   // the name of the gone bundle a launch job ran from ("Beacon" of Beacon.app)
};

// What the search gathers, by lower-case identifier, and the paths already given to one.
struct Gathered {
    std::map<std::string, Found> byIdentifier;
    std::set<std::string> seen;

    Found* remember(const std::string& identifier, Remain remain)
    {
        auto& found = byIdentifier[BundleIdentifier(identifier).key()];
        if (found.identifier.empty())
            found.identifier = identifier;
        found.remains.push_back(std::move(remain));
        return &found;
    }
};

// Whether an entry at a path, carrying an identifier, may be a remain (and is taken if so).
using Admission = std::function<bool(const std::string& path, const std::string& identifier)>;

// Every identifier that counts as installed: the scanned applications, those inside them and their
// declared groups, the other installed ones, the bundles the walk found, what runs, and the labels
// of services installed without an application.
InstalledIdentifiers installedIdentifiers(ScanIndex& index, const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                          const std::vector<std::string>& otherInstalled, const std::vector<std::string>& walkedBundles)
{
    InstalledIdentifiers known;
    std::set<std::string> knownBundles;
    for (const auto& app : installed) {
        known.addBundle(app->bundleIdentifier());
        knownBundles.insert(app->bundlePath.value_or(""));
        for (const auto& group : index.declaredGroups(*app))
            known.addGroup(group);
        for (const auto& inner : index.nestedApps(*app)) {
            known.addBundle(inner->bundleIdentifier());
            for (const auto& group : index.declaredGroups(*inner))
                known.addGroup(group);
        }
    }
    for (const auto& identifier : otherInstalled)
        known.addBundle(identifier);
    for (const auto& bundle : walkedBundles)
        if (!knownBundles.count(bundle))
            known.addBundle(index.bundleIdentifierAt(bundle));
    for (const auto& identifier : RemainsFinder::runningBundleIdentifiers(index))
        known.addBundle(identifier);
    for (const auto& label : serviceLabels(index))
        known.addBundle(label);
    return known;
}

// An entry whose name carries a gone identifier; a preferences file named by it also tells the
// application's name.
void gatherNamedEntry(Gathered& gathered, const Admission& acceptable, const std::string& path, const std::string& name, T category)
{
    const std::string identifier = RemainsFinder::identifierInName(name, category);
    if (!acceptable(path, identifier))
        return;
    Found* found = gathered.remember(identifier, {path, name, category});
    if (category == T::preference && found->bundleName.empty() &&
        platform::path::toLower(name) == platform::path::toLower(identifier) + ".plist") {
        if (const auto defaults = plist::readDictionarySafely(path, kMaxPreferencesBytes))
            found->bundleName = plist::stringValue(*defaults, "CFBundleName");
    }
}

// A launch job is a remain by what it runs: programs in an application that is gone.
void gatherLaunchJob(Gathered& gathered, const Admission& acceptable, const std::string& path, const std::string& name)
{
    if (!endsWithIgnoringCase(name, ".plist"))
        return;
    std::string why;
    const auto job = platform::LaunchJobFile::read(path, false, why);
    if (!job)
        return;
    std::vector<std::string> programs;
    if (auto program = platform::LaunchJobFile::programOf(job->job); !program.empty())
        programs.push_back(std::move(program));
    const std::string volumes = platform::fixedPath("/Volumes");
    const bool inGoneBundle = !programs.empty() && std::all_of(programs.begin(), programs.end(), [&](const std::string& program) {
        if (program.empty() || program.front() != '/' || platform::fs::linkStatus(program))
            return false;
        const std::string bundle = outermostBundle(program);
        if (bundle.empty() || platform::fs::linkStatus(bundle))
            return false;
        // On a volume that is not mounted the application may well be there.
        if (platform::path::startsWith(bundle, volumes + "/")) {
            const auto parts = platform::path::components(bundle.substr(volumes.size()));
            if (parts.size() < 2 || !platform::fs::linkStatus(volumes + "/" + parts[1]))
                return false;
        }
        return true;
    });
    if (!inGoneBundle)
        return;
    const std::string label = plist::stringValue(job->job, "Label");
    const std::string identifier = RemainsFinder::isReverseDns(label) ? label : RemainsFinder::identifierInName(name, T::daemon);
    if (!acceptable(path, identifier))
        return;
    Found* found = gathered.remember(identifier, {path, name, T::daemon});
    if (found->jobBundle.empty()) {
        const std::string bundle = platform::path::lastComponent(outermostBundle(programs.front()));
        found->jobBundle = bundle.substr(0, bundle.size() - std::min<std::size_t>(bundle.size(), 4));
    }
}

// The entries of every searched folder the user granted.
void gatherEntries(ScanIndex& index, Gathered& gathered, const Admission& acceptable, const std::function<bool()>& keepGoing)
{
    for (const auto category : SearchFilePath::searchedCategories()) {
        if (!keepGoing())
            break;
        withStoredFolderAccess(SearchFilePath::accessRootForCategory(category), [&](bool granted) {
            if (!granted)
                return;
            for (const auto& folderPath : index.foldersFor(category)) {
                FolderSnapshot& folder = index.folder(folderPath);
                if (!folder.listed())
                    continue;
                for (std::uint32_t i = 0; i < folder.entries().size(); ++i) {
                    if (folder.isShared(i))
                        continue;
                    if (category != T::daemon) {
                        gatherNamedEntry(gathered, acceptable, folder.fullPath(i), folder.entries()[i].name, category);
                        continue;
                    }
                    gatherLaunchJob(gathered, acceptable, folder.fullPath(i), folder.entries()[i].name);
                }
            }
        });
    }
}

// The gathered identifiers by the one whose record holds their remains: a helper's join those of
// the application whose identifier it extends.
std::map<std::string, std::vector<const Found*>> families(const Gathered& gathered)
{
    std::map<std::string, std::vector<const Found*>> families;
    for (const auto& [lower, found] : gathered.byIdentifier) {
        std::string target = lower;
        for (const auto& start : BundleIdentifier(lower).wholeStarts()) {
            if (start != lower && RemainsFinder::isReverseDns(start) && gathered.byIdentifier.count(start)) {
                target = start;
                break;
            }
        }
        families[target].push_back(&found);
    }
    return families;
}

// One gone application's record: named by a preferences file's CFBundleName, else the gone bundle
// a launch job ran from (never the job's label, which no user knows), else the identifier; its
// remains grouped by category, none ticked.
std::shared_ptr<UninstallApp> recordOf(const Found& head, const std::vector<const Found*>& members)
{
    std::string display;
    for (const auto* member : members)
        if (display.empty())
            display = member->bundleName;
    for (const auto* member : members)
        if (display.empty())
            display = member->jobBundle;
    auto app = UninstallApp::gone(head.identifier, display.empty() ? head.identifier : display);
    for (const auto category : SearchFilePath::searchedCategories()) {
        std::shared_ptr<UnFileGroup> group;
        for (const auto* member : members) {
            for (const auto& remain : member->remains) {
                if (remain.category != category)
                    continue;
                if (!group) {
                    group = std::make_shared<UnFileGroup>();
                    group->type = category;
                    group->app = app;
                    app->fileGroups.push_back(group);
                }
                auto item = std::make_shared<UnFileItem>();
                item->type = category;
                item->fileName = remain.name;
                item->filePath = remain.path;
                item->isDir = platform::fs::isDirectoryNoFollow(remain.path);
                if (const auto status = platform::fs::linkStatus(remain.path)) {
                    item->device = status->st_dev;
                    item->inode = status->st_ino;
                }
                item->size = fileSize(remain.path);
                item->group = group;
                item->identifier = platform::makeUuidString();
                item->isSelected = false;
                app->totalSize += item->size;
                group->fileItem.push_back(item);
            }
        }
    }
    app->isReady = true;
    return app;
}

}  // namespace

void InstalledIdentifiers::addBundle(std::string_view identifier)
{
    if (identifier.empty())
        return;
    const std::string lower = platform::path::toLower(identifier);
    bundles_.insert(lower);
    for (std::size_t i = 0; i < lower.size(); ++i)
        if (lower[i] == '.')
            starts_.insert(lower.substr(0, i));
}

void InstalledIdentifiers::addGroup(std::string_view group)
{
    const std::string stripped = RemainsFinder::identifierInName(group, T::Sandbox);
    groups_.insert(platform::path::toLower(stripped.empty() ? group : std::string_view(stripped)));
}

bool InstalledIdentifiers::covers(std::string_view identifier) const
{
    const std::string lower = platform::path::toLower(identifier);
    if (groups_.count(lower) || starts_.count(lower))
        return true;
    for (const auto& start : BundleIdentifier(lower).wholeStarts())
        if (bundles_.count(start))
            return true;
    return false;
}

RemainsFinder::RemainsFinder(std::weak_ptr<StopToken> stop, std::shared_ptr<ScanIndex> index)
    : stop_(std::move(stop)), index_(std::move(index))
{
}

bool RemainsFinder::keepGoing() const
{
    const auto stop = stop_.lock();
    return stop && stop->keepGoing();
}

bool RemainsFinder::isReverseDns(std::string_view identifier)
{
    const auto parts = labels(identifier);
    if (parts.size() < 3)
        return false;
    for (const auto part : parts) {
        if (part.empty() || !std::all_of(part.begin(), part.end(), [](char c) {
                return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
            }))
            return false;
    }
    const auto top = parts.front();
    const bool country = top.size() == 2 && allOf(top, islower);
    return country || std::find(kGenericTopLevel.begin(), kGenericTopLevel.end(), top) != kGenericTopLevel.end();
}

std::string RemainsFinder::identifierInName(std::string_view name, RkUninstallCategoryType category)
{
    std::string_view rest = name;
    if (category == T::crashReporter) {
        const auto underscore = rest.find('_');
        if (underscore != std::string_view::npos)
            rest = rest.substr(0, underscore);
        // Today's spelling: "<name>-<yyyy>-<mm>-<dd>-<hhmmss>.ips".
        for (std::size_t dash = rest.find('-'); dash != std::string_view::npos; dash = rest.find('-', dash + 1)) {
            const auto year = rest.substr(dash + 1, 5);
            if (year.size() == 5 && year[4] == '-' && allOf(year.substr(0, 4), isdigit)) {
                rest = rest.substr(0, dash);
                break;
            }
        }
    }
    for (bool cut = true; cut;) {
        cut = false;
        for (const auto tail : kTails) {
            if (endsWithIgnoringCase(rest, tail)) {
                rest.remove_suffix(tail.size());
                cut = true;
            }
        }
        const auto dot = rest.rfind('.');
        if (dot != std::string_view::npos && isHardwareId(rest.substr(dot + 1))) {
            rest = rest.substr(0, dot);
            cut = true;
        }
    }
    for (bool cut = true; cut;) {
        cut = false;
        const auto dot = rest.find('.');
        if (dot == std::string_view::npos)
            break;
        const auto first = rest.substr(0, dot);
        if (isTeamId(first) || first == "group") {
            rest.remove_prefix(dot + 1);
            cut = true;
        }
    }
    return isReverseDns(rest) ? std::string(rest) : std::string();
}

std::vector<std::string> RemainsFinder::runningBundleIdentifiers(ScanIndex& index)
{
    std::vector<std::string> found;
    // Only programs on this Mac's disk count: with the system under a folder of its own, one
    // running from outside it is another machine's. The kernel names programs by resolved path.
    // A root that cannot be resolved counts every program: what runs is never offered.
    char resolved[PATH_MAX];
    const std::string root =
        ::realpath(platform::systemRoot().c_str(), resolved) ? platform::path::trimTrailingSlashes(resolved) : std::string("/");
    const std::string inside = root == "/" || root.empty() ? "/" : root + "/";
    for (const auto pid : platform::ProcessTable::allPids()) {
        const auto executable = platform::ProcessTable::executablePath(pid);
        if (!executable || !platform::path::startsWith(*executable, inside))
            continue;
        std::string walked;
        for (const auto& part : platform::path::components(*executable)) {
            walked = walked.empty() || walked == "/" ? walked + part : walked + "/" + part;
            if (part == "/" || platform::path::toLower(platform::path::extension(part)) != "app")
                continue;
            if (const auto& identifier = index.bundleIdentifierAt(walked); !identifier.empty())
                found.push_back(identifier);
        }
    }
    return found;
}

std::vector<std::shared_ptr<UninstallApp>> RemainsFinder::find(const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                                               const std::vector<std::string>& otherInstalled,
                                                               const std::set<std::string>& offered,
                                                               std::optional<std::vector<std::string>> walkedBundles,
                                                               bool walkComplete)
{
    std::vector<std::shared_ptr<UninstallApp>> gone;
    if (!index_ || !keepGoing())
        return gone;

    // Applications discovery does not list: anywhere in the home and deeper in the shared folders.
    if (!walkedBundles) {
        const auto stop = stop_.lock();
        auto walked = BundleWalk::bundlesUnder(BundleWalk::defaultRoots(), std::chrono::steady_clock::now() + kWalkTime, stop.get());
        walkedBundles = std::move(walked.bundles);
        walkComplete = walked.complete;
    }
    const InstalledIdentifiers known = installedIdentifiers(*index_, installed, otherInstalled, *walkedBundles);

    Gathered gathered;
    const Admission acceptable = [&](const std::string& path, const std::string& identifier) {
        return !identifier.empty() && !offered.count(path) && !index_->isSharedFolder(path) &&
               !SystemIdentifiers::isSystem(identifier) && !known.covers(identifier) && gathered.seen.insert(path).second;
    };
    gatherEntries(*index_, gathered, acceptable, [this] { return keepGoing(); });
    if (!keepGoing())
        return gone;

    // Privileged helpers whose launch daemons name a gone application, with those job files.
    std::vector<std::string> goneIdentifiers;
    for (const auto& [lower, found] : gathered.byIdentifier)
        goneIdentifiers.push_back(lower);
    const auto declared = [&] { return GoneHelperTools::declaredBy(*index_, installed, *walkedBundles); };
    for (auto& helper : GoneHelperTools(*index_, known, offered).find(goneIdentifiers, declared)) {
        if (!gathered.seen.insert(helper.path).second)
            continue;
        gathered.remember(helper.goneIdentifier, {helper.path, helper.name, helper.category});
    }

    for (const auto& [lower, members] : families(gathered)) {
        auto app = recordOf(gathered.byIdentifier.at(lower), members);
        app->remainsCertain = walkComplete;
        gone.push_back(std::move(app));
    }
    return gone;
}
