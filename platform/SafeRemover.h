#pragma once

#include <string>

namespace platform {

// Removes a file or a folder with everything in it without ever following a symbolic link: the
// path is walked from "/" one folder at a time (openat with O_NOFOLLOW | O_DIRECTORY), and the
// contents are removed relative to their open folder (unlinkat). A link anywhere on the way makes
// the removal fail rather than go elsewhere; a link inside the tree is removed as a link. Safe to
// use as root against a tree that someone else changes meanwhile. An entry that cannot be removed
// (EACCES, EPERM, ENOSPC on some file systems, ...) stays with the folders above it, and the walk goes
// on with the others; a call that a signal interrupts is made again.
class SafeRemover {
public:
    // True when nothing is left at the path. The path must be canonical (path::canonicalProblem).
    static bool remove(const std::string& path);
    // True when the path is well formed for remove(): canonical, so not "/" either.
    static bool isRemovablePath(const std::string& path);
    // Opens the folder at an absolute path without following a link on the way; -1 on failure.
    static int openFolderNoFollow(const std::string& path);
};

}  // namespace platform
