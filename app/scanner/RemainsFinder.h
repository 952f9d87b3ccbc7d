#pragma once

#include "app/records/RkUninstallCategoryType.h"

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class ScanIndex;
class StopToken;
class UninstallApp;

// The identifiers that count as installed for the remains: bundle identifiers (an identifier that
// one of them carries whole, or that is a whole dotted start of one, is theirs) and the
// application groups installed applications declare (only the very group).
class InstalledIdentifiers {
public:
    void addBundle(std::string_view identifier);
    void addGroup(std::string_view group);
    bool covers(std::string_view identifier) const;

private:
    std::unordered_set<std::string> bundles_;
    std::unordered_set<std::string> starts_;  // every whole dotted start of a bundle identifier
    std::unordered_set<std::string> groups_;
};

// Finds the remains of applications that are gone: entries of the searched folders whose names
// carry a reverse-DNS identifier that belongs to no installed application and not to the system,
// launch job files whose programs lie in an .app bundle that no longer exists, and privileged
// helpers whose launch daemons name a gone application (GoneHelperTools). Reads the
// folders through the scan run's ScanIndex; runs on the scan queue after the installed
// applications were scanned. Nothing it returns is ticked.
class RemainsFinder {
public:
    RemainsFinder(std::weak_ptr<StopToken> stop, std::shared_ptr<ScanIndex> index);

    // `installed` are the scanned records (their identifiers, those of the applications inside
    // them and their declared groups count as installed), `otherInstalled` more identifiers, and
    // `offered` the paths the scan already gave to them. The bundles BundleWalk found below its
    // default roots count as installed too: `walkedBundles` when the caller walked them (beside the
    // scan; `walkComplete` says whether that walk looked everywhere), else it walks them itself.
    // So do the labels of launch jobs that run an existing program outside every application and
    // the helper-tool folders (a package manager's services). One record per gone application, by
    // identifier; when the walk ran out of time none is certain (UninstallApp::remainsCertain).
    std::vector<std::shared_ptr<UninstallApp>> find(const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                                     const std::vector<std::string>& otherInstalled,
                                                     const std::set<std::string>& offered,
                                                     std::optional<std::vector<std::string>> walkedBundles = std::nullopt,
                                                     bool walkComplete = true);

    // How long the walk for installed bundles may take.
    static constexpr std::chrono::seconds kWalkTime{5};

    // The identifier an entry's name carries, with team and "group." prefixes and file tails
    // (.plist, .savedState, .binarycookies, a per-host hardware id, a crash report's "_..." tail)
    // taken off; "" when what is left is no reverse-DNS identifier of at least three parts.
    static std::string identifierInName(std::string_view name, RkUninstallCategoryType category);
    static bool isReverseDns(std::string_view identifier);

    // The identifiers of every .app bundle that holds a running process's executable.
    static std::vector<std::string> runningBundleIdentifiers(ScanIndex& index);

private:
    bool keepGoing() const;

    std::weak_ptr<StopToken> stop_;
    std::shared_ptr<ScanIndex> index_;
};
