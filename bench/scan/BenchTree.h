#pragma once

#include "fixtures/MacTree.h"

#include <cstdint>

// A large Mac for the scan benchmark: `apps` applications with about `bundleFiles` files in their
// bundles altogether, and about `libraryEntries` entries (folders and the files in them) spread over
// the searched Library folders, a tenth of them belonging to no installed application. As on a Mac,
// every executable is a signed Mach-O (a quarter declaring application groups), some bundles hold
// app extensions, helpers, login items or system extensions, some applications share an executable
// name (Electron's among them), the folders that hold one entry per application have theirs, crash
// reports come in every spelling, a few applications lie on two mounted volumes and a few in the Trash.
struct BenchTreeShape {
    int apps = 300;
    int bundleFiles = 300000;
    int libraryEntries = 30000;
};

struct BenchTreeCounts {
    std::int64_t bundleFiles = 0;
    std::int64_t libraryEntries = 0;
    int groupSignatures = 0;  // executables whose signature declares application groups
    int innerBundles = 0;     // helpers, login items, app and system extensions
    int sharedExecutables = 0;  // applications whose executable's name another one has too
    int volumeApps = 0;
    int trashedApps = 0;
    std::int64_t holderEntries = 0;  // entries in the folders that hold one per application
    std::int64_t crashReports = 0;
};

BenchTreeCounts buildBenchTree(fixtures::MacTree& tree, const BenchTreeShape& shape);
