#pragma once

#include "fixtures/MacTree.h"

namespace demo {

// Fills `tree` with a believable Mac: about twenty applications of made-up vendors in the
// application folders, each with the leftovers a real Mac collects for it (support folders, caches,
// preferences, saved state, logs, containers, cookies, crash reports, launch jobs, WebKit data,
// temporary files), plus the cases the application walk must leave out (bundles inside bundles,
// a bundle too deep, a system bundle, a non-application package), files of other vendors that
// belong to no listed application, and the remains of three applications that are gone (one still
// in the Trash, one with a launch daemon in the system Library).
//
// Deterministic except for dates: last-used dates and crash-report names are placed relative to
// the current time, so "not used for 90 days" keeps its meaning whenever the tree is built.
// Throws what MacTree throws when a file cannot be written (including the last-used extended
// attribute on a file system without user attributes).
void buildDemoTree(fixtures::MacTree& tree);

}  // namespace demo
