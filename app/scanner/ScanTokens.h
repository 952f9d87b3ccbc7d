#pragma once

#include "app/scanner/Evidence.h"
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
    // With the display name given rather than the record's.
    ScanTokens(const UninstallApp& app, const std::string& displayName);
    // Only an identifier, no names: an application or extension inside a bundle, which counts as the
    // bundle's by its identifier alone.
    static ScanTokens identifierOnly(const std::string& rawIdentifier);

    std::string display;     // normalised display name
    std::string infoName;    // normalised CFBundleName
    std::string executable;  // normalised CFBundleExecutable
    std::string identifier;  // normalised CFBundleIdentifier
    std::string raw;         // CFBundleIdentifier as written
    std::string vendor;      // normalised second piece of an identifier of three pieces or more

    NamePattern& namePattern(const std::string& suffix);
    NamePattern& identifierPattern(const std::string& suffix);
    // True when a token holds a character a pattern's "." cannot match (a line break).
    bool hasLineBreak() const { return lineBreak_; }
    // Where these names occur across the run's searched folders (looked up on first need).
    std::optional<ScanIndex::Candidates> runCandidates;

    // The name and identifier tests; the ordinary cases are decided without the pattern engine.
    bool matchesName(const std::string& key, const std::string& suffix);
    bool matchesIdentifier(const std::string& key, const std::string& suffix);
    // The strongest claim these names make on an entry (`key` normalised, `name` as on disk): the
    // identifier (its pattern, or carried whole by the name), else the display or bundle name, else
    // the executable's name.
    Evidence evidenceOn(const std::string& key, const std::string& name, const std::string& suffix);

private:
    ScanTokens() = default;
    void findLineBreaks();
    // Whether the one token matches the key as one alternative of the name pattern would.
    bool matchesToken(const std::string& key, const std::string& token, const std::string& suffix);
    static const std::string& crashSuffix();
    bool lineBreak_ = false;
    std::map<std::string, NamePattern> names_;
    std::map<std::string, NamePattern> identifiers_;
    std::map<std::pair<std::string, std::string>, NamePattern> single_;  // (token, suffix)
};
