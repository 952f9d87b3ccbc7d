#pragma once

#include "app/scanner/MatchSet.h"

#include <string>
#include <string_view>
#include <vector>

class ScanIndex;
class ScanTokens;
class UninstallApp;

// The places an application's files are found in by rules of their own, not by name alone:
// - privileged helper tools: one a launch daemon of the application runs (a job file in
//   /Library/LaunchDaemons whose name is the application's by the strongest evidence), or one whose name is
//   a key of the application's SMPrivilegedExecutables;
// - installer receipts "<package id>.bom" and ".plist" whose package identifier is the
//   application's identifier or begins with it and ".";
// - plug-ins whose own bundle identifier begins with the application's identifier and ".";
// - the group containers of the groups the application declares that no other application of the
//   run declares too.
// An entry that carries a more specific installed identifier stays that application's.
class OwnRuleSearch {
public:
    OwnRuleSearch(ScanIndex& index, ScanTokens& tokens, const UninstallApp& app, const std::vector<std::string>& family);

    MatchSet helperTools();
    MatchSet receipts();
    MatchSet plugIns();
    MatchSet declaredGroups();

private:
    bool owned(std::string_view name) const;

    ScanIndex& index_;
    ScanTokens& tokens_;
    const UninstallApp& app_;
    const std::vector<std::string>& family_;
};
