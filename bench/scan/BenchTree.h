#pragma once

#include "fixtures/MacTree.h"

#include <cstdint>

// A large Mac for the scan benchmark: `apps` applications with about `bundleFiles` files in their
// bundles altogether, and about `libraryEntries` entries (folders and the files in them) spread over
// the searched Library folders, a tenth of them belonging to no installed application.
struct BenchTreeShape {
    int apps = 300;
    int bundleFiles = 300000;
    int libraryEntries = 30000;
};

struct BenchTreeCounts {
    std::int64_t bundleFiles = 0;
    std::int64_t libraryEntries = 0;
};

BenchTreeCounts buildBenchTree(fixtures::MacTree& tree, const BenchTreeShape& shape);
