#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class SubstringIndex;

// One folder's entries as a scan run listed them, with the look-up tables that let the scan find
// the few entries that can match an application without testing every entry against every
// application. A name can only match a token when it equals the token or begins with the token
// followed by "." (or "_" for crash reports), so entries are filed under each such prefix.
// Owned by the scan run's ScanIndex; used from the scan queue only.
class FolderSnapshot {
public:
    struct Entry {
        std::string name;  // as on disk
        std::string key;   // normalised
    };
    using Positions = std::vector<std::uint32_t>;

    FolderSnapshot(std::string path, const SubstringIndex& identifiers);

    const std::string& path() const { return path_; }
    bool listed() const { return listed_; }
    const std::vector<Entry>& entries() const { return entries_; }
    // Whether the entry is a folder that holds many applications' data (set by the scan run).
    bool isShared(std::uint32_t position) const { return !shared_.empty() && shared_[position]; }
    template <typename Predicate> void markShared(Predicate isSharedPath)
    {
        shared_.assign(entries_.size(), false);
        for (std::uint32_t i = 0; i < entries_.size(); ++i)
            shared_[i] = isSharedPath(fullPath(i));
    }
    std::string fullPath(std::uint32_t position) const;

    // Entries whose key equals `token` or begins with `token` followed by `separator`.
    const Positions* withPrefix(const std::string& token, char separator);
    const Positions* withKey(const std::string& key);
    // Entries whose name contains the identifier of that id in the run's SubstringIndex.
    const Positions* containing(std::uint32_t identifierId);
    // The tables themselves, for the scan run's index over all searched folders.
    const std::unordered_map<std::string, Positions>& dotPrefixTable() const { return byDotPrefix_; }
    const std::unordered_map<std::string, Positions>& keyTable() const { return byKey_; }
    const std::unordered_map<std::uint32_t, Positions>& identifierTable() const { return byIdentifier_; }
    const std::unordered_map<std::string, Positions>& underscorePrefixTable();
    // Entries matched by a pattern that does not depend on the application, computed once.
    const Positions& matchedBy(const std::string& pattern);

private:
    void fileUnder(std::unordered_map<std::string, Positions>& table, char separator);

    std::string path_;
    bool listed_ = false;
    std::vector<Entry> entries_;
    std::vector<bool> shared_;
    std::unordered_map<std::string, Positions> byDotPrefix_;
    std::unordered_map<std::string, Positions> byUnderscorePrefix_;
    bool underscoreFiled_ = false;
    std::unordered_map<std::string, Positions> byKey_;
    std::unordered_map<std::uint32_t, Positions> byIdentifier_;
    std::unordered_map<std::string, Positions> byPattern_;
};
