#pragma once

#include "platform/BundleIdentifier.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class ScanIndex;
class StopToken;
class UninstallApp;

// The remains of applications whose bundles lie in a Trash: each is scanned as an installed one is
// (names and executable included, its claims weighed against the installed applications'), and
// what it left becomes a record of its own, shown with the bundle's name and icon, that also takes
// the remains found by its identifier alone. Runs on the scan queue after the installed
// applications were scanned.
class TrashedRemains {
public:
    TrashedRemains(std::weak_ptr<StopToken> stop, std::shared_ptr<ScanIndex> run);

    // `trashed`: the records of the bundles in a Trash (scanned by the run); those whose identifier
    // is in `installedIdentifiers` stand for nothing gone. `offered`: what installed
    // applications were given. The records join `gone`, taking over the entries of the same
    // identifier and any entry another record there held. `certain`: whether the search for
    // installed copies looked everywhere.
    void addTo(std::vector<std::shared_ptr<UninstallApp>>& gone, const std::vector<std::shared_ptr<UninstallApp>>& trashed,
               const std::set<BundleIdentifier>& installedIdentifiers, const std::set<std::string>& offered, bool certain);

private:
    std::weak_ptr<StopToken> stop_;
    std::shared_ptr<ScanIndex> run_;
};
