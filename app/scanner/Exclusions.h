#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class UninstallApp;
class UnFileItem;

// A file or folder the user said is never to be offered, for every application ("" ) or for the
// one whose bundle identifier `application` names. `path` is kept as the user gave it.
struct ExcludedPath {
    std::string path;
    std::string application;
};

// What the user keeps out of every removal: excluded files and folders (with everything below a
// folder) and protected applications (named by bundle identifier, or by bundle path when they have
// none). Ostrova is always protected.
//
// Paths are compared as the files they reach, not as they were typed: links are followed (the
// item's own place and, when it is a link, where it leads), and letter case and Unicode
// composition do not count, as on a Mac's volumes. An item is excluded when it lies at or below an
// excluded path, or holds one (taking it would take the excluded one with it).
class Exclusions {
public:
    Exclusions() = default;
    Exclusions(std::vector<ExcludedPath> paths, std::vector<std::string> protectedApplications);

    const std::vector<ExcludedPath>& paths() const { return paths_; }
    const std::vector<std::string>& protectedApplications() const { return protected_; }

    // Whether a stored name is a path (absolute, or from "~") rather than a bundle identifier.
    static bool isPathName(std::string_view name) { return !name.empty() && (name.front() == '/' || name.front() == '~'); }
    // Ostrova's own identifiers (the app, its agent, its helpers): protected whatever the store says.
    static bool isOwnIdentifier(std::string_view identifier);
    // Whether the application may not be removed or reset: Ostrova, one the user protected, or one
    // whose bundle an exclusion covers or holds.
    bool protects(const UninstallApp& app) const;
    // Whether a protected-application entry names this identifier or bundle path.
    bool protectsName(std::string_view identifierOrBundle) const;
    // Whether the item at `path`, related to the application `identifier`, is excluded.
    bool excludes(const std::string& path, std::string_view identifier) const;
    // The related items an exclusion covers (the bundle's own group aside: protects() decides on
    // it). Reads the disk; the record is only read.
    std::vector<std::shared_ptr<UnFileItem>> covered(const UninstallApp& app) const;
    // Drops those items from the record, and the groups they leave empty, and takes their bytes off
    // the total. Returns how many went.
    static std::size_t drop(UninstallApp& app, const std::vector<std::shared_ptr<UnFileItem>>& items);
    std::size_t apply(UninstallApp& app) const { return drop(app, covered(app)); }

    // The forms of a path exclusions are compared in: its place with the folders above resolved,
    // and where it leads when it exists; each folded for case and composition.
    static std::vector<std::string> comparableForms(const std::string& path);

private:
    struct Form {
        std::string key;
        std::string application;
    };
    // The stored paths' forms, worked out at the first comparison: listing or editing the store
    // never waits on a volume one of its paths lies on.
    struct Forms {
        std::once_flag made;
        std::vector<Form> all;
    };
    const std::vector<Form>& forms() const;
    std::vector<ExcludedPath> paths_;
    std::vector<std::string> protected_;
    std::shared_ptr<Forms> forms_ = std::make_shared<Forms>();
};
