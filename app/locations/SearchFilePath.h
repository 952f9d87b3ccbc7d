#pragma once

#include "app/records/RkUninstallCategoryType.h"

#include <string>
#include <string_view>
#include <vector>

// Where things live on disk: the folders the related-file scan searches, the home resolution that
// also works inside the sandbox, and the walk over the application folders with its two filters.
// Every list is rebuilt from the environment on each read; any thread may read them.
class SearchFilePath {
public:
    // "~" paths: inside the sandbox every "~" is replaced by realHomeDirectory(); outside, standard
    // tilde expansion. Fixed system paths are mapped under the system root.
    static std::string resolveHomePath(std::string_view literal);
    // Inside the sandbox: the user's home derived from the container home ("" when it cannot be);
    // outside: the home folder.
    static std::string realHomeDirectory();

    // The lists for this process; with `user`, for another user of the machine (the daemon asks
    // for its client's: "~" is that home, the temporary folder that user's).
    struct User {
        std::string home;
        std::string temporaryDirectory;  // with its trailing "/"
    };
    // The application folders: /Applications, the home's, PlayCover's, Downloads, Desktop, then
    // each mounted volume's Applications (/Volumes/<name>, not a link).
    static std::vector<std::string> applicationFolders(const User* user = nullptr);
    static std::vector<std::string> cacheFolders(const User* user = nullptr);
    static std::vector<std::string> crashReportFolders(const User* user = nullptr);
    static std::vector<std::string> launchFolders(const User* user = nullptr);
    static std::vector<std::string> libraryFolders(const User* user = nullptr);

    // The bundles to list, in discovery order, each folder walked through the folder-access gate.
    static std::vector<std::string> applicationBundles();
    static void collectApplications(const std::string& path, int depth, std::vector<std::string>& result);
    static bool isListableBundle(const std::string& bundlePath);
    static bool isListableIdentifier(const std::string& bundlePath);

    // The categories the related-file scan searches, in its order, and the resolved folders of each.
    static std::vector<RkUninstallCategoryType> searchedCategories();
    static std::vector<std::string> foldersForCategory(RkUninstallCategoryType type, const User* user = nullptr);
    // The name-suffix pattern of a category ("" for none).
    static std::string suffixForCategory(RkUninstallCategoryType type);
    // Places searched by rules of their own rather than by name: the privileged helper tools, the
    // installer receipts, and the plug-in folders of both Libraries (with each folder of
    // "Audio/Plug-Ins" as it is on disk).
    static std::vector<std::string> helperToolFolders(const User* user = nullptr);
    static std::vector<std::string> receiptFolders(const User* user = nullptr);
    static std::vector<std::string> plugInFolders(const User* user = nullptr);
    // Every folder above: what the scan may offer items from, and the removal may remove from.
    static std::vector<std::string> ownRuleFolders(const User* user = nullptr);
    // The same places as fixed paths, without reading the disk: the plug-in folders with
    // "Audio/Plug-Ins" and its usual folders (Components, HAL, MAS, VST, VST3). For the daemon, which
    // must not list a folder a client controls on each request.
    static std::vector<std::string> ownRuleRoots(const User* user = nullptr);
    // Folders that hold one entry per application without being any application's own: the
    // recent-documents lists, crash-reporting libraries' stores, browsers' native-messaging
    // manifests, the system's per-application folders. An application's entry in one is found by
    // its identifier (and, where `byName`, by its exact name, or the name, "-" and more); the folder
    // itself is never offered.
    struct Holder {
        std::string path;
        RkUninstallCategoryType category;
        bool byName = false;
    };
    static std::vector<Holder> holderFolders(const User* user = nullptr);
    // Standard folders of a Library that hold every application's data (Caches, Logs, Mail, ...).
    static const std::vector<std::string>& standardLibraryFolderNames();

    // The access root under which a folder is reached: "/" unless a sandboxed build is in its
    // review period.
    static std::string accessRootForApplicationFolder(const std::string& folder);
    // The root the folder-access gate is asked for before a category's folders are searched or
    // removed from: "/" outside the review period, else the home's Library (its Containers for
    // the Sandbox category).
    static std::string accessRootForCategory(RkUninstallCategoryType type);

private:
    static std::string resolveFor(const User* user, std::string_view literal);
};
