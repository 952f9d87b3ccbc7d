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
// and launch job files whose programs lie in an .app bundle that no longer exists. Reads the
// folders through the scan run's ScanIndex; runs on the scan queue after the installed
// applications were scanned. Nothing it returns is ticked.
class RemainsFinder {
public:
    RemainsFinder(std::weak_ptr<StopToken> stop, std::shared_ptr<ScanIndex> index);

    // `installed` are the scanned records (their identifiers, those of the applications inside
    // them and their declared groups count as installed), `otherInstalled` more identifiers, and
    // `offered` the paths the scan already gave to them. The bundles BundleWalk found below its
    // default roots count as installed too: `walkedBundles` when the caller walked them (beside the
    // scan), else it walks them itself. One record per gone application, by identifier.
    std::vector<std::shared_ptr<UninstallApp>> find(const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                                     const std::vector<std::string>& otherInstalled,
                                                     const std::set<std::string>& offered,
                                                     std::optional<std::vector<std::string>> walkedBundles = std::nullopt);

    // How deep and how long the walk for installed bundles goes.
    static constexpr int kWalkDepth = 10;
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
