#pragma once

#include "app/scanner/NamePattern.h"
#include "app/scanner/ScanIndex.h"

#include <map>
#include <optional>
#include <string>

class UninstallApp;

// The names one application is searched by, and its patterns, compiled at most once per suffix.
class ScanTokens {
public:
    explicit ScanTokens(const UninstallApp& app);

    std::string display;     // normalised display name
    std::string infoName;    // normalised CFBundleName
    std::string executable;  // normalised CFBundleExecutable
    std::string identifier;  // normalised CFBundleIdentifier
    std::string raw;         // CFBundleIdentifier as written
    std::string vendor;      // normalised middle piece of a three-piece identifier

    NamePattern& namePattern(const std::string& suffix);
    NamePattern& identifierPattern(const std::string& suffix);
    // True when a token holds a character a pattern's "." cannot match (a line break).
    bool hasLineBreak() const { return lineBreak_; }
    // Where these names occur across the run's searched folders (looked up on first need).
    std::optional<ScanIndex::Candidates> runCandidates;

    // The name and identifier tests; the ordinary cases are decided without the pattern engine.
    bool matchesName(const std::string& key, const std::string& suffix);
    bool matchesIdentifier(const std::string& key, const std::string& suffix);

private:
    static const std::string& crashSuffix();
    bool lineBreak_ = false;
    std::map<std::string, NamePattern> names_;
    std::map<std::string, NamePattern> identifiers_;
};
