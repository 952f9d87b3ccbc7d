#include "app/scanner/FolderSnapshot.h"

#include "app/scanner/NamePattern.h"
#include "app/scanner/SubstringIndex.h"
#include "app/scanner/NameText.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

FolderSnapshot::FolderSnapshot(std::string path, const SubstringIndex& identifiers) : path_(std::move(path))
{
    const auto names = platform::fs::listDirectory(path_);
    if (!names)
        return;
    listed_ = true;
    entries_.reserve(names->size());
    for (const auto& name : *names)
        entries_.push_back({name, nametext::normalizeName(name)});
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        byKey_[entries_[i].key].push_back(i);
        for (const auto id : identifiers.find(entries_[i].name))
            byIdentifier_[id].push_back(i);
    }
    // A key is filed under itself too: a name equal to a token matches like one with a dotted tail.
    for (const auto& [key, positions] : byKey_)
        byDotPrefix_[key].insert(byDotPrefix_[key].end(), positions.begin(), positions.end());
    fileUnder(byDotPrefix_, '.');
}

void FolderSnapshot::fileUnder(std::unordered_map<std::string, Positions>& table, char separator)
{
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        const std::string& key = entries_[i].key;
        for (std::size_t at = key.find(separator); at != std::string::npos; at = key.find(separator, at + 1)) {
            auto& positions = table[key.substr(0, at)];
            if (positions.empty() || positions.back() != i)
                positions.push_back(i);
        }
    }
}

std::string FolderSnapshot::fullPath(std::uint32_t position) const
{
    return platform::path::appending(path_, entries_[position].name);
}

const std::unordered_map<std::string, FolderSnapshot::Positions>& FolderSnapshot::underscorePrefixTable()
{
    if (!underscoreFiled_) {
        // Crash reports are spelt "<name>_<date>_<host>.crash" and "<name>-<date>.ips".
        fileUnder(byUnderscorePrefix_, '_');
        fileUnder(byUnderscorePrefix_, '-');
        underscoreFiled_ = true;
    }
    return byUnderscorePrefix_;
}

const FolderSnapshot::Positions* FolderSnapshot::withPrefix(const std::string& token, char separator)
{
    const auto* table = separator == '_' ? &underscorePrefixTable() : &byDotPrefix_;
    const auto it = table->find(token);
    return it == table->end() ? nullptr : &it->second;
}

const FolderSnapshot::Positions* FolderSnapshot::withKey(const std::string& key)
{
    const auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : &it->second;
}

const FolderSnapshot::Positions* FolderSnapshot::containing(std::uint32_t identifierId)
{
    const auto it = byIdentifier_.find(identifierId);
    return it == byIdentifier_.end() ? nullptr : &it->second;
}

const FolderSnapshot::Positions& FolderSnapshot::matchedBy(const std::string& pattern)
{
    auto it = byPattern_.find(pattern);
    if (it != byPattern_.end())
        return it->second;
    Positions matched;
    NamePattern compiled(pattern);
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        if (compiled.matches(entries_[i].key))
            matched.push_back(i);
    }
    return byPattern_.emplace(pattern, std::move(matched)).first->second;
}
