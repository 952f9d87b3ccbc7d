#pragma once

#include "app/locations/SearchFilePath.h"
#include "app/records/RkUninstallCategoryType.h"
#include "app/scanner/BundleSizes.h"
#include "app/scanner/FolderSnapshot.h"
#include "app/scanner/InstalledClaims.h"
#include "app/scanner/SubstringIndex.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class StopToken;
class UninstallApp;

// What one scan run shares between the applications it scans: every searched folder is listed once
// per run, every launch job file read once, and the bundle identifiers of all applications (nested
// ones included) go into one substring index. Made by the scan loop for the applications it will
// scan; used from the scan queue only.
class ScanIndex {
public:
    // `apps` are scanned; `otherInstalled` only take part in the claims below.
    explicit ScanIndex(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                       const std::vector<std::shared_ptr<UninstallApp>>& otherInstalled = {});

    // Whether the run was made for this application (its identifiers are indexed).
    bool knows(const UninstallApp& app) const;
    // The applications inside `app`'s Contents/MacOS whose names contain ".app", in listing order.
    // Made once per application and per run.
    const std::vector<std::shared_ptr<UninstallApp>>& nestedApps(const UninstallApp& app);
    // The identifiers of the other applications and extensions inside `app`'s bundle (helpers,
    // login items, app extensions, system extensions): they count as `app`'s own.
    const std::vector<std::string>& innerIdentifiers(const UninstallApp& app);
    // Every installed application's claims; `ownerOf` names the owner a record of the run (or an
    // application inside one) belongs to, kNobody for a record the run does not know.
    InstalledClaims& claims() { return claims_; }
    InstalledClaims::Owner ownerOf(const UninstallApp& app) const;

    FolderSnapshot& folder(const std::string& path);
    // The resolved folders the scan searches for a category, worked out once per run.
    const std::vector<std::string>& foldersFor(RkUninstallCategoryType category);
    std::optional<std::uint32_t> identifierId(const std::string& rawIdentifier) const;
    // Whether `name` carries, whole, the identifier of an application of the run that is longer than
    // `own` and not one of `family` (the scanned application and those inside it): that
    // application's claim on the entry is the more specific one.
    bool claimedByMoreSpecific(std::string_view name, std::string_view own, const std::vector<std::string>& family) const;

    // The existing files a launch job runs (platform::LaunchJobFile::programsOf), read once a run;
    // nullopt when the file is not a job file that can be read.
    const std::optional<std::vector<std::string>>& launchPrograms(const std::string& jobPath);

    // The application groups a bundle declares (BundleReader::declaredGroups), read once a run.
    const std::vector<std::string>& declaredGroups(const UninstallApp& app);
    // Whether an application of the run other than those of `family` (identifiers) declares `group`.
    bool groupDeclaredElsewhere(const std::string& group, const std::vector<std::string>& family);
    // SearchFilePath::plugInFolders and holderFolders, worked out once a run.
    const std::vector<std::string>& plugInFolders();
    const std::vector<SearchFilePath::Holder>& holderFolders() const { return holders_; }
    // Starts measuring the run's bundles ahead of the scan (BundleSizes), in the order given.
    void measureBundlesAhead(std::vector<std::string> paths, std::weak_ptr<StopToken> stop);
    // A bundle's size: the walk ahead's when it covers the bundle, otherwise measured now.
    std::int64_t bundleSize(const std::string& path, const StopToken* stop);
    // The CFBundleIdentifier of a bundle (BundleReader::identifierAt), read once a run.
    const std::string& bundleIdentifierAt(const std::string& bundlePath);

    // A folder that holds many applications' data (a searched folder itself, or a standard folder of
    // a Library): never offered as one application's file.
    bool isSharedFolder(const std::string& path) const;

    // Where an application's names occur in the searched folders, looked up once per application
    // in tables over every searched folder instead of once per folder.
    struct Ref {
        FolderSnapshot* folder;
        std::uint32_t position;
    };
    struct Candidates {
        std::vector<Ref> dotted;       // key equals a token or begins with token + "."
        std::vector<Ref> underscored;  // key begins with token + "_" (crash-report folders)
        std::vector<Ref> containing;   // name contains the raw identifier
        std::vector<Ref> vendor;       // key equals the vendor token
        std::vector<const FolderSnapshot*> folders;  // every folder named above, sorted
        bool mentions(const FolderSnapshot* folder) const;
    };
    Candidates candidatesFor(const std::vector<const std::string*>& tokens, const std::string& rawIdentifier,
                             const std::string& vendor);
    // Lists every searched folder and files its entries in the run-wide tables. Only for a process
    // that may read them all (outside the sandbox); inside it each folder is read through the gate.
    void prepareRunTables();
    // Whether the folder is one of the searched folders the run-wide tables cover.
    bool coversFolder(const FolderSnapshot& folder) const;

    // Launch job files under the launch folders, filed by what their programs name: "=" + a program
    // path as written, and "<" + each folder that holds a program (as its components, joined).
    // Built on first use over the entries `pattern` matches; a job lies in `folders` order.
    struct LaunchRef {
        FolderSnapshot* folder;
        std::uint32_t position;
    };
    const std::vector<LaunchRef>* launchJobsFiledUnder(const std::string& key, const std::vector<std::string>& folders,
                                                       const std::string& pattern);
    // A path as its components joined by "/" (so "/a//b/" reads "/a/b").
    static std::string canonical(const std::string& path);


private:
    void addIdentifier(const std::string& raw);
    void addOwner(const std::shared_ptr<UninstallApp>& app, bool scanned);

    InstalledClaims claims_;
    std::unique_ptr<BundleSizes> bundleSizes_;
    std::vector<SearchFilePath::Holder> holders_;
    std::unordered_map<const UninstallApp*, InstalledClaims::Owner> owners_;
    std::unordered_map<std::string, InstalledClaims::Owner> ownerKeys_;
    std::unordered_map<const UninstallApp*, std::vector<std::string>> inner_;

    std::unordered_map<std::string, std::vector<std::string>> declaredGroups_;  // by bundle path
    std::unordered_map<std::string, std::vector<std::string>> groupDeclarers_;  // group -> identifiers
    std::unordered_map<std::string, std::string> bundleIdentifiers_;
    std::optional<std::vector<std::string>> plugInFolders_;
    std::vector<std::string> identifiers_;
    std::unordered_map<std::string, std::uint32_t> identifierIds_;
    std::unique_ptr<SubstringIndex> substrings_;
    std::unordered_map<const UninstallApp*, std::vector<std::shared_ptr<UninstallApp>>> nested_;
    std::unordered_map<std::string, std::unique_ptr<FolderSnapshot>> folders_;
    std::unordered_map<std::string, std::optional<std::vector<std::string>>> launchJobs_;
    std::unordered_set<std::string> sharedFolders_;
    std::unordered_map<int, std::vector<std::string>> categoryFolders_;
    void buildRunTables();
    bool runTablesBuilt_ = false;
    std::unordered_map<std::string, std::vector<Ref>> runDotted_;
    std::unordered_map<std::string, std::vector<Ref>> runUnderscored_;
    std::unordered_map<std::string, std::vector<Ref>> runKeys_;
    std::unordered_map<std::uint32_t, std::vector<Ref>> runIdentifiers_;
    std::unordered_set<const FolderSnapshot*> covered_;
    bool launchFiled_ = false;
    std::unordered_map<std::string, std::vector<LaunchRef>> launchFiling_;
};
