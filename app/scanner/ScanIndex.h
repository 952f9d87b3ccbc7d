#pragma once

#include "app/scanner/FolderSnapshot.h"
#include "app/scanner/SubstringIndex.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class UninstallApp;

// What one scan run shares between the applications it scans: every searched folder is listed once
// per run, every launch job file read once, and the bundle identifiers of all applications (nested
// ones included) go into one substring index. Made by the scan loop for the applications it will
// scan; used from the scan queue only.
class ScanIndex {
public:
    explicit ScanIndex(const std::vector<std::shared_ptr<UninstallApp>>& apps);

    // Whether the run was made for this application (its identifiers are indexed).
    bool knows(const UninstallApp& app) const;
    // The applications inside `app`'s Contents/MacOS whose names contain ".app", in listing order.
    // Made once per application and per run.
    const std::vector<std::shared_ptr<UninstallApp>>& nestedApps(const UninstallApp& app);

    FolderSnapshot& folder(const std::string& path);
    std::optional<std::uint32_t> identifierId(const std::string& rawIdentifier) const;

    // A launch job file's program paths that name existing files ("Program", else every string of
    // "ProgramArguments"); nullopt when the file is not a property-list dictionary.
    const std::optional<std::vector<std::string>>& launchPrograms(const std::string& jobPath);

    // A folder that holds many applications' data (a searched folder itself, or a standard folder of
    // a Library): never offered as one application's file.
    bool isSharedFolder(const std::string& path) const;

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

    struct Counters {
        std::uint64_t listings = 0;
    };
    const Counters& counters() const { return counters_; }

private:
    void addIdentifier(const std::string& raw);

    std::vector<std::string> identifiers_;
    std::unordered_map<std::string, std::uint32_t> identifierIds_;
    std::unique_ptr<SubstringIndex> substrings_;
    std::unordered_map<const UninstallApp*, std::vector<std::shared_ptr<UninstallApp>>> nested_;
    std::unordered_map<std::string, std::unique_ptr<FolderSnapshot>> folders_;
    std::unordered_map<std::string, std::optional<std::vector<std::string>>> launchJobs_;
    std::unordered_set<std::string> sharedFolders_;
    bool launchFiled_ = false;
    std::unordered_map<std::string, std::vector<LaunchRef>> launchFiling_;
    Counters counters_;
};
