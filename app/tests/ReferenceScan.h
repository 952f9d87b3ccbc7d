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

// `installed`: the identifiers of every installed application (nested ones included); an entry that
// carries a longer one of them, other than the scanned bundle's own, is that application's.
ReferenceResult referenceScan(const std::string& bundlePath, const std::vector<std::string>& installed = {});
// The same shape read from a record the real scanner filled.
ReferenceResult resultOf(const UninstallApp& app);
std::string describe(const ReferenceResult& result);
