#include "app/locations/SearchFilePath.h"

#include "app/locations/FolderAccess.h"
#include "app/locations/ReviewManager.h"
#include "platform/Bundle.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/SystemRoot.h"
#include "platform/Workspace.h"
#include "system/Utility.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace fs = platform::fs;
namespace path = platform::path;

namespace {

// The characters that may stand in a URL string as written; anything else makes the parse fail.
bool isValidUrlString(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-._~:/?#[]@!$&'()*+,;=").find(static_cast<char>(c)) != std::string_view::npos;
        if (plain)
            continue;
        if (c == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            i += 2;
            continue;
        }
        return false;
    }
    return !text.empty();
}

}  // namespace

std::string SearchFilePath::realHomeDirectory()
{
    const std::string home = path::homeDirectory();
    if (!Utility::isSandboxed())
        return home;
    // The container home lies in the system root; the pieces are counted from the root's "/".
    const std::string relative = platform::macPathOf(home);
    std::vector<std::string> pieces;
    for (const auto& part : path::components(relative)) {
        if (part != "/")
            pieces.push_back(part);
    }
    if (pieces.size() < 3)
        return "";
    return platform::fixedPath("/" + pieces[0] + "/" + pieces[1]);
}

std::string SearchFilePath::resolveHomePath(std::string_view literal)
{
    if (!literal.empty() && literal.front() == '/')
        return platform::fixedPath(literal);
    if (!Utility::isSandboxed())
        return path::expandTilde(literal);
    const std::string realHome = realHomeDirectory();
    std::string resolved;
    for (const char c : literal) {
        if (c == '~')
            resolved += realHome;
        else
            resolved += c;
    }
    // Without a real home "~/Library/Caches" reads "/Library/Caches": a system path.
    if (realHome.empty())
        return platform::fixedPath(resolved);
    return resolved;
}

std::string SearchFilePath::resolveFor(const User* user, std::string_view literal)
{
    if (!user || literal.empty() || literal.front() != '~')
        return resolveHomePath(literal);
    return user->home + std::string(literal.substr(1));
}

std::vector<std::string> SearchFilePath::applicationFolders(const User* user)
{
    std::vector<std::string> folders = {resolveFor(user, "/Applications"), resolveFor(user, "~/Applications"),
                                        resolveFor(user, "~/Library/Containers/io.playcover.PlayCover/Applications"),
                                        resolveFor(user, "~/Downloads"), resolveFor(user, "~/Desktop")};
    // Every mounted volume's. The start-up disk's entry is a link to "/", whose applications are
    // listed already: links are passed over, and so are hidden entries (Time Machine's).
    const std::string volumes = resolveFor(user, "/Volumes");
    auto names = fs::listDirectory(volumes).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        if (name.front() != '.' && fs::isDirectoryNoFollow(volumes + "/" + name))
            folders.push_back(volumes + "/" + name + "/Applications");
    }
    return folders;
}

std::vector<std::string> SearchFilePath::cacheFolders(const User* user)
{
    const std::string temp = user ? user->temporaryDirectory : path::temporaryDirectory();
    std::string parent;
    if (isValidUrlString(temp))
        parent = path::deletingLastComponent(temp);
    const std::string perUserCache = parent.empty() || parent == "/" ? platform::fixedPath("/C") : parent + "/C";
    return {resolveFor(user, "/Library/Caches"), resolveFor(user, "~/Library/Caches"), perUserCache, temp};
}

std::vector<std::string> SearchFilePath::crashReportFolders(const User* user)
{
    return {resolveFor(user, "/Library/Application Support/CrashReporter"),
            resolveFor(user, "~/Library/Application Support/CrashReporter"),
            resolveFor(user, "/Library/Logs/DiagnosticReports"), resolveFor(user, "~/Library/Logs/DiagnosticReports")};
}

std::vector<std::string> SearchFilePath::launchFolders(const User* user)
{
    return {resolveFor(user, "/Library/LaunchAgents"), resolveFor(user, "~/Library/LaunchAgents"),
            resolveFor(user, "/Library/LaunchDaemons"), resolveFor(user, "~/Library/LaunchDaemons"),
            resolveFor(user, "/Library/StartupItems")};
}

std::vector<std::string> SearchFilePath::libraryFolders(const User* user)
{
    return {resolveFor(user, "/Library"), resolveFor(user, "~/Library"), resolveFor(user, "/Users/Shared"),
            resolveFor(user, "~/Library/WebKit")};
}

std::vector<RkUninstallCategoryType> SearchFilePath::searchedCategories()
{
    using T = RkUninstallCategoryType;
    return {T::support, T::cache, T::preference, T::state, T::crashReporter, T::log, T::Sandbox, T::daemon, T::cookies, T::other};
}

std::vector<std::string> SearchFilePath::foldersForCategory(RkUninstallCategoryType type, const User* user)
{
    using T = RkUninstallCategoryType;
    switch (type) {
    case T::support:
        return {resolveFor(user, "/Library/Application Support"), resolveFor(user, "~/Library/Application Support")};
    case T::cache:
        return cacheFolders(user);
    case T::preference:
        return {resolveFor(user, "/Library/Preferences"), resolveFor(user, "~/Library/Preferences"),
                resolveFor(user, "~/Library/Preferences/ByHost")};
    case T::state:
        return {resolveFor(user, "~/Library/Saved Application State")};
    case T::crashReporter:
        return crashReportFolders(user);
    case T::log:
        return {resolveFor(user, "/Library/Logs"), resolveFor(user, "~/Library/Logs")};
    case T::Sandbox:
        return {resolveFor(user, "~/Library/Containers"), resolveFor(user, "~/Library/Group Containers"),
                resolveFor(user, "~/Library/Application Scripts")};
    case T::daemon:
        return launchFolders(user);
    case T::cookies:
        return {resolveFor(user, "~/Library/Cookies"), resolveFor(user, "~/Library/HTTPStorages")};
    case T::other:
        return libraryFolders(user);
    default:
        return {};
    }
}

std::string SearchFilePath::suffixForCategory(RkUninstallCategoryType type)
{
    if (type == RkUninstallCategoryType::crashReporter)
        return "[_-](([0-9a-fA-F-]{5,})|([0-9]{4}(-[0-9]{1,2}){2})).*";
    if (type == RkUninstallCategoryType::daemon)
        return ".{1,}\\.plist";
    return "";
}

std::vector<std::string> SearchFilePath::helperToolFolders(const User* user)
{
    return {resolveFor(user, "/Library/PrivilegedHelperTools")};
}

std::vector<std::string> SearchFilePath::receiptFolders(const User* user)
{
    return {resolveFor(user, "/private/var/db/receipts")};
}

std::vector<std::string> SearchFilePath::plugInFolders(const User* user)
{
    std::vector<std::string> folders;
    for (const std::string_view library : {std::string_view("/Library"), std::string_view("~/Library")}) {
        const std::string root = resolveFor(user, library);
        for (const char* name : {"Internet Plug-Ins", "QuickLook", "Spotlight", "PreferencePanes", "Screen Savers", "Services"})
            folders.push_back(root + "/" + name);
        const std::string audio = root + "/Audio/Plug-Ins";
        for (const auto& entry : fs::listDirectory(audio).value_or(std::vector<std::string>{})) {
            const std::string folder = audio + "/" + entry;
            if (fs::isDirectoryNoFollow(folder))
                folders.push_back(folder);
        }
    }
    return folders;
}

std::vector<std::string> SearchFilePath::ownRuleFolders(const User* user)
{
    auto folders = helperToolFolders(user);
    for (auto& more : {receiptFolders(user), plugInFolders(user)})
        folders.insert(folders.end(), more.begin(), more.end());
    return folders;
}

std::vector<std::string> SearchFilePath::ownRuleRoots(const User* user)
{
    auto folders = helperToolFolders(user);
    for (const auto& receipts : receiptFolders(user))
        folders.push_back(receipts);
    for (const std::string_view library : {std::string_view("/Library"), std::string_view("~/Library")}) {
        const std::string root = resolveFor(user, library);
        for (const char* name : {"Internet Plug-Ins", "QuickLook", "Spotlight", "PreferencePanes", "Screen Savers", "Services",
                                 "Audio/Plug-Ins", "Audio/Plug-Ins/Components", "Audio/Plug-Ins/HAL", "Audio/Plug-Ins/MAS",
                                 "Audio/Plug-Ins/VST", "Audio/Plug-Ins/VST3"})
            folders.push_back(root + "/" + name);
    }
    return folders;
}

std::vector<SearchFilePath::Holder> SearchFilePath::holderFolders(const User* user)
{
    using T = RkUninstallCategoryType;
    std::vector<Holder> holders = {
        {resolveFor(user, "~/Library/Application Support/com.apple.sharedfilelist/"
                          "com.apple.LSSharedFileList.ApplicationRecentDocuments"),
         T::support},
        {resolveFor(user, "~/Library/Caches/com.plausiblelabs.crashreporter.data"), T::crashReporter},
        {resolveFor(user, "~/Library/Caches/com.crashlytics.data"), T::crashReporter},
        {resolveFor(user, "~/Library/Caches/SentryCrash"), T::crashReporter, true},
        {resolveFor(user, "~/Library/Caches/com.apple.nsurlsessiond/Downloads"), T::cache},
        {resolveFor(user, "~/Library/Caches/com.apple.helpd/Generated"), T::cache},
        {resolveFor(user, "~/Library/Application Support/FileProvider"), T::support},
        {resolveFor(user, "~/Library/CloudStorage"), T::other, true},
    };
    // The native-messaging manifests of every browser that reads them, the user's and the Mac's.
    for (const char* browser : {"Google/Chrome", "Google/Chrome Beta", "Google/Chrome Dev", "Google/Chrome Canary", "Chromium",
                                "BraveSoftware/Brave-Browser", "Microsoft Edge", "Microsoft Edge Beta", "Vivaldi", "Mozilla",
                                "Arc/User Data", "Yandex/YandexBrowser", "com.operasoftware.Opera", "Waterfox", "LibreWolf"}) {
        for (const char* library : {"~/Library/Application Support/", "/Library/Application Support/"})
            holders.push_back({resolveFor(user, std::string(library) + browser + "/NativeMessagingHosts"), T::support});
    }
    for (const char* browser : {"/Library/Google/Chrome/NativeMessagingHosts", "/Library/Microsoft/Edge/NativeMessagingHosts"})
        holders.push_back({resolveFor(user, browser), T::support});
    return holders;
}

const std::vector<std::string>& SearchFilePath::standardLibraryFolderNames()
{
    static const std::vector<std::string> names = {
        "Accounts", "Application Scripts", "Application Support", "Assistants", "Audio", "Autosave Information",
        "Caches", "Calendars", "CloudStorage", "ColorPickers", "ColorSync", "Colors", "Components", "Compositions",
        "Containers", "Cookies", "CoreMediaIO", "Daemon Containers", "Desktop Pictures", "Developer", "Dictionaries",
        "DirectoryServices", "Documentation", "DriverExtensions", "Extensions", "Favorites", "FileProvider",
        "Filesystems", "FontCollections", "Fonts", "Frameworks", "Graphics", "Group Containers", "HTTPStorages",
        "Image Capture", "Input Methods", "Internet Plug-Ins", "Java", "Keyboard", "Keyboard Layouts", "Keychains",
        "LaunchAgents", "LaunchDaemons", "Logs", "Mail", "Messages", "Metadata", "Mobile Documents", "Modem Scripts",
        "PreferencePanes", "Preferences", "Printers", "PrivilegedHelperTools", "QuickLook", "QuickTime", "Receipts",
        "Safari", "Sandbox", "Saved Application State", "Screen Savers", "ScriptingAdditions", "Scripts", "Security",
        "Services", "Sounds", "Speech", "Spelling", "Spotlight", "StartupItems", "SystemExtensions", "Updates",
        "User Pictures", "Video", "WebKit", "WebServer"};
    return names;
}

std::string SearchFilePath::accessRootForCategory(RkUninstallCategoryType type)
{
    if (!ReviewManager::shared().reviewPeriodActive())
        return platform::fixedPath("/");
    return resolveHomePath(type == RkUninstallCategoryType::Sandbox ? "~/Library/Containers" : "~/Library");
}

std::string SearchFilePath::accessRootForApplicationFolder(const std::string& folder)
{
    if (!ReviewManager::shared().reviewPeriodActive())
        return platform::fixedPath("/");
    const std::string containers = resolveHomePath("~/Library/Containers");
    const std::string library = resolveHomePath("~/Library");
    if (path::startsWith(folder, containers))
        return containers;
    if (path::startsWith(folder, library))
        return library;
    return platform::fixedPath("/");
}

std::vector<std::string> SearchFilePath::applicationBundles()
{
    std::vector<std::string> result;
    for (const auto& folder : applicationFolders()) {
        withStoredFolderAccess(accessRootForApplicationFolder(folder), [&](bool granted) {
            if (granted)
                collectApplications(folder, 0, result);
        });
    }
    return result;
}

void SearchFilePath::collectApplications(const std::string& startPath, int depth, std::vector<std::string>& result)
{
    if (depth > 3)
        return;
    const auto st = fs::linkStatus(startPath);
    if (!st)
        return;
    std::string current = startPath;
    if (S_ISLNK(st->st_mode)) {
        auto destination = fs::readLink(startPath);
        if (!destination)
            return;
        // A relative destination names a place beside the link, not beside our working folder.
        if (destination->empty() || destination->front() != '/')
            destination = path::standardize(path::appending(path::deletingLastComponent(startPath), *destination));
        for (const auto& folder : applicationFolders()) {
            if (path::startsWith(*destination, folder))
                return;
        }
        current = *destination;
    } else if (!S_ISDIR(st->st_mode)) {
        return;
    }

    if (platform::Workspace::isFilePackageAtPath(current)) {
        if (path::toLower(path::extension(current)) != "app")
            return;
        if (!isListableBundle(current) || !isListableIdentifier(current))
            return;
        result.push_back(current);
        return;
    }
    const auto entries = fs::listDirectory(current);
    if (!entries)
        return;
    for (const auto& entry : *entries)
        collectApplications(path::appending(current, entry), depth + 1, result);
}

bool SearchFilePath::isListableBundle(const std::string& bundlePath)
{
    const std::string home = path::homeDirectory();
    if (!fs::exists(bundlePath))
        return false;
    if (path::startsWith(bundlePath, home + "/.Trash/"))
        return false;
    if (path::contains(bundlePath, "Resource"))
        return false;
    if (path::startsWith(bundlePath, home + "/Library/"))
        return false;
    if (path::startsWith(bundlePath, home + "/Applications/CrossOver/"))
        return false;
    if (path::contains(path::toLower(bundlePath), "/build/"))
        return false;
    if (path::contains(bundlePath, "/Applications (Parallels)/"))
        return false;
    if (path::contains(bundlePath, "node_modules"))
        return false;
    for (std::string parent = path::deletingLastComponent(bundlePath); path::components(parent).size() >= 3;
         parent = path::deletingLastComponent(parent)) {
        if (!path::extension(parent).empty() && platform::Workspace::isFilePackageAtPath(parent))
            return false;
    }
    return path::toLower(path::extension(bundlePath)) == "app";
}

bool SearchFilePath::isListableIdentifier(const std::string& bundlePath)
{
    const auto bundle = platform::Bundle::atPath(bundlePath);
    if (!bundle)
        return false;
    const auto identifier = bundle->bundleIdentifier();
    if (!identifier)
        return true;
    if (*identifier == "com.apple.TransporterApp")
        return true;
    static constexpr std::array<std::string_view, 3> kRejected = {
        "com.vmware.proxyApp", "com.parallels.ApplicationGroupBridge", "com.parallels.winapp"};
    if (path::startsWith(*identifier, "com.apple") || path::startsWith(*identifier, "com.qzt.ostrova"))
        return false;
    for (const auto rejected : kRejected) {
        if (*identifier == rejected)
            return false;
    }
    return true;
}
