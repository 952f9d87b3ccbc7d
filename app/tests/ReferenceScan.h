#pragma once

#include "app/records/UninstallApp.h"

#include <memory>
#include <string>
#include <vector>

// The related-file scan written the plain way: every folder listed again for every application,
// every entry tested with freshly compiled patterns, every launch job read for every application.
// Slow, and easy to check by eye; the real scanner must give the same groups, items and sizes.
struct ReferenceItem {
    std::string path;
    std::string name;
    bool isDir = false;
    std::int64_t size = 0;
    bool operator==(const ReferenceItem&) const = default;
};
struct ReferenceGroup {
    RkUninstallCategoryType type;
    std::vector<ReferenceItem> items;
    bool operator==(const ReferenceGroup&) const = default;
};
struct ReferenceResult {
    std::vector<ReferenceGroup> groups;
    std::int64_t bundleSize = 0;
    std::int64_t totalSize = 0;
    bool operator==(const ReferenceResult&) const = default;
};

// `installedBundles`: every installed application's bundle. An entry that carries a longer
// identifier of one of them (or of an application inside one), other than the scanned bundle's
// own, is that application's; a group another of them declares too is nobody's.
ReferenceResult referenceScan(const std::string& bundlePath, const std::vector<std::string>& installedBundles = {});
// Expects every application of `apps`, as the scanner left it, to have the plain scan's groups, items
// and sizes; `apps` and `alsoInstalled` are every installed bundle.
void expectPlainScanResults(const std::vector<std::shared_ptr<UninstallApp>>& apps,
                            const std::vector<std::shared_ptr<UninstallApp>>& alsoInstalled = {});
